#pragma once
// Draws EMF records with a QPainter. The painter's device is the page the metafile's
// frame describes, in units of `unitsPerMillimetre`. Each record is checked against its
// own size before anything is read; a record that does not hold together is skipped
// and counted, and leaves the drawing state as it was.
#include "components/transcoder/emf/BitmapRecord.h"
#include "components/transcoder/emf/DeviceContext.h"
#include "components/transcoder/emf/EmfReader.h"
#include "components/transcoder/emf/FontCache.h"

#include <QPainter>

#include <functional>
#include <memory>
#include <vector>

namespace emfplay {

struct PlayStats {
    std::uint32_t drawn = 0;   // records understood (drawing and state)
    std::uint32_t skipped = 0; // unknown, EMF+ or malformed records
};

class EmfPlayer {
public:
    static constexpr int kMaxSavedStates = 1024;
    static constexpr std::uint32_t kMaxHandles = 65535;

    // `fonts` may outlive the page, so that the pages of one document share their fonts;
    // without it the player keeps its own.
    EmfPlayer(QPainter& painter, const EmfHeader& header, double unitsPerMillimetre, FontCache* fonts = nullptr);

    // False when the record was skipped.
    bool play(const RecordView& record);
    const PlayStats& stats() const { return m_stats; }

    // Plays every record of a page. `progress(bytesDone, bytesTotal)` is asked now and then
    // and stops the page by returning false. Returns false when the page was stopped.
    static bool playAll(EmfReader& reader, EmfPlayer& player,
                        const std::function<bool(std::size_t, std::size_t)>& progress = {});

private:
    bool dispatch(const RecordView& r);

    // State.
    bool setExtent(const RecordView& r, QSizeF& extent);
    bool setOrigin(const RecordView& r, QPointF& origin);
    bool scaleExtent(const RecordView& r, QSizeF& extent);
    bool saveDC();
    bool restoreDC(const RecordView& r);
    bool setWorldTransform(const RecordView& r);
    bool modifyWorldTransform(const RecordView& r);
    bool readXform(const RecordView& r, std::uint32_t offset, QTransform& out) const;

    // Objects.
    bool createPen(const RecordView& r);
    bool extCreatePen(const RecordView& r);
    bool createBrush(const RecordView& r);
    bool createPatternBrush(const RecordView& r, bool mono);
    bool createFont(const RecordView& r);
    bool selectObject(const RecordView& r);
    bool deleteObject(const RecordView& r);
    bool storeObject(std::uint32_t index, GdiObject object);

    // Shapes and paths.
    bool poly(const RecordView& r, bool sixteen, bool closed, bool bezier, bool fromCurrent);
    bool polyPoly(const RecordView& r, bool sixteen, bool closed);
    bool box(const RecordView& r, std::uint32_t type);
    bool arc(const RecordView& r, std::uint32_t type);
    bool lineTo(const RecordView& r);
    bool moveTo(const RecordView& r);
    bool pathOperation(std::uint32_t type);
    bool selectClipPath(const RecordView& r);

    // Clipping.
    bool clipRect(const RecordView& r, bool intersect);
    bool selectClipRegion(const RecordView& r);
    bool offsetClip(const RecordView& r);
    void combineClip(const QPainterPath& path, std::uint32_t mode);

    // Text and bitmaps.
    bool textOut(const RecordView& r, bool wide);
    bool drawBitmap(const std::optional<BitmapRecord>& record);
    void drawImage(const QRectF& dest, const QImage& image, const QRectF& source);

    // Drawing.
    QTransform pageTransform() const;
    QTransform logicalToPage() const;
    void applyClip();
    void draw(const QPainterPath& path, bool fill, bool stroke);
    bool addToPath(const QPainterPath& figure, bool connect);

    QPainter& m_painter;
    std::unique_ptr<FontCache> m_ownFonts;
    FontCache& m_fonts;
    EmfHeader m_header;
    QTransform m_deviceToPage;
    double m_unitsPerPixel; // page units per reference-device pixel
    QRectF m_pageRect;
    DeviceContext m_dc;
    std::vector<DeviceContext> m_saved;
    std::vector<GdiObject> m_objects;
    std::optional<QPainterPath> m_path;  // the path being built or the last one closed
    bool m_buildingPath = false;
    bool m_clipApplied = false;
    PlayStats m_stats;
};

} // namespace emfplay
