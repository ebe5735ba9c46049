#include "ThirdPartyFixtures.h"

#include <QFile>

#include <uemf.h>

#include <cstdlib>
#include <vector>

namespace thirdparty {

QByteArray libUemfBitmapPage(const QString& scratchFile)
{
    EMFTRACK* track = nullptr;
    EMFHANDLES* handles = nullptr;
    const QByteArray name = QFile::encodeName(scratchFile);
    if (emf_start(name.constData(), 100000, 25000, &track) || emf_htable_create(128, 128, &handles))
        return {};
    const U_RECTL bounds = {0, 0, 377, 377};
    const U_RECTL frame = {0, 0, 10000, 10000};
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr,
                                                                    sizel_set(378, 378), sizel_set(100, 100), 0)),
               track, U_REC_FREE);

    const int side = 40;
    std::vector<char> rgba(side * side * 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            char* p = &rgba[std::size_t((y * side + x) * 4)];
            p[0] = x < side / 2 ? char(255) : 0;
            p[1] = 0;
            p[2] = x < side / 2 ? 0 : char(255);
            p[3] = char(255);
        }
    char* px = nullptr;
    uint32_t cbPx = 0;
    PU_RGBQUAD table = nullptr;
    int tableSize = 0;
    RGBA_to_DIB(&px, &cbPx, &table, &tableSize, rgba.data(), side, side, side * 4, U_BCBM_COLOR24, U_CT_NO,
                U_ROW_ORDER_INVERT);
    const U_BITMAPINFOHEADER header = bitmapinfoheader_set(side, side, 1, 24, U_BI_RGB, cbPx, 3780, 3780, 0, 0);
    PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
    const U_RECTL drawn = {20, 20, 119, 119};
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(U_EMRSTRETCHDIBITS_set(
                   drawn, point32_set(20, 20), point32_set(100, 100), point32_set(0, 0), point32_set(side, side),
                   U_DIB_RGB_COLORS, U_SRCCOPY, info, cbPx, px)),
               track, U_REC_FREE);
    std::free(info);
    std::free(px);
    emf_append(reinterpret_cast<PU_ENHMETARECORD>(U_EMREOF_set(0, nullptr, track)), track, U_REC_FREE);
    emf_finish(track, handles);
    emf_free(&track);
    emf_htable_free(&handles);

    QFile written(scratchFile);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

} // namespace thirdparty
