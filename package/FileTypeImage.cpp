#include "package/FileTypeImage.h"

#include <array>
#include <utility>

int GetFileTypeImage(const QString& fileName)
{
    static const std::array<std::pair<const char*, int>, 10> kTable{{
        {".htm", FILE_IMAGE_DOCUMENT},
        {".xhtml", FILE_IMAGE_DOCUMENT},
        {".css", FILE_IMAGE_CSS},
        {".gif", FILE_IMAGE_GIF},
        {".jpg", FILE_IMAGE_JPEG},
        {".jpeg", FILE_IMAGE_JPEG},
        {".png", FILE_IMAGE_PNG},
        {".svg", FILE_IMAGE_SVG},
        {".ncx", FILE_IMAGE_XML},
        {".xml", FILE_IMAGE_XML},
    }};
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return FILE_IMAGE_DOCUMENT;
    const QString extension = fileName.mid(dot);
    for (const auto& [known, image] : kTable) {
        if (extension.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return image;
    }
    return FILE_IMAGE_DOCUMENT;
}
