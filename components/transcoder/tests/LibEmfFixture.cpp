#include "ThirdPartyFixtures.h"

#include <QFile>

#include <libEMF/emf.h>

#include <cstdio>

namespace thirdparty {

QByteArray libEmfPage(const QString& scratchFile)
{
    FILE* file = std::fopen(QFile::encodeName(scratchFile).constData(), "wb");
    if (!file)
        return {};
    const RECT frame = {0, 0, 10000, 10000}; // 0.01 mm
    HDC dc = CreateEnhMetaFileWithFILEA(0, file, &frame, nullptr);
    // Logical units are millimetres/10 whatever the reference device.
    SetMapMode(dc, MM_LOMETRIC);
    const unsigned short face[] = {'D', 'e', 'j', 'a', 'V', 'u', ' ', 'S', 'a', 'n', 's', 0};
    HFONT font = CreateFontW(-60, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    const unsigned short text[] = {'l', 'i', 'b', 'E', 'M', 'F', ' ', 0xAE00, 0xC790, 0};
    TextOutW(dc, 50, -50, text, 9);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, blue);
    Rectangle(dc, 550, -250, 950, -450);
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(dc, green);
    Ellipse(dc, 50, -550, 450, -950);
    HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(dc);
    DeleteEnhMetaFile(metafile);
    std::fclose(file);

    QFile written(scratchFile);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

} // namespace thirdparty
