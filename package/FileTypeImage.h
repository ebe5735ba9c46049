#pragma once
// The image index the manifest and spine trees show for a file, chosen by its extension.
#include <QString>

// Image indexes of the trees' image list.
enum FileTypeImageIndex {
    FILE_IMAGE_DOCUMENT = 0, // also any unknown extension
    FILE_IMAGE_CSS = 1,
    FILE_IMAGE_GIF = 2,
    FILE_IMAGE_JPEG = 3,
    FILE_IMAGE_PNG = 4,
    FILE_IMAGE_SVG = 5,
    FILE_IMAGE_XML = 6,
};

// From the part of `fileName` that starts at its last ".", compared without regard to case.
int GetFileTypeImage(const QString& fileName);
