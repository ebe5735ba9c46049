#pragma once
// KVXE2PT32: writes the enhanced-metafile pages of one print job into a PDF.
//
// Call order, on one object: BeginDocument once, TranscodePage once per page, EndDocument
// once (also after a stop), then destroy it. Progress goes to the window given at
// construction as WM_CONVERT_PROGRESS notifications:
//   PROGRESS_BEGIN   from BeginDocument (no record);
//   PROGRESS_PAGE    when a page starts (record: current page, total so far);
//   PROGRESS_PERCENT while a page is drawn and when it is finished (record);
//   PROGRESS_SAVING  from EndDocument, before the PDF is written out (no record);
//   PROGRESS_DONE    once the PDF is complete (record);
//   PROGRESS_ABORT   on failure or cancel (record), instead of DONE.
// Exactly one of DONE and ABORT is sent per document, the destructor included.
//
// The window's user-data value 1 asks to cancel. It is read between pages and while a
// page is drawn; the transcoder then stops, sends PROGRESS_ABORT and returns 0 from
// TranscodePage. It never deletes the output file itself: the PDF is written to a
// temporary file beside it and only replaces the output path when the document is done.
//
// Options: the first of the six document option words, when nonzero, is the number of
// pages the caller expects; it makes the page total and the percentage cover the whole
// document. Otherwise the total is the pages seen so far and the percentage covers the
// current page. The other option words and the page option word are reserved (pass 0).
#include "platform/core/DocumentInfo.h"
#include "platform/core/EnhMetaFile.h"
#include "platform/core/MessageWindow.h"
#include "platform/core/ProgressInfo.h"

#include <QString>

#include <memory>

#if defined(KVXE2PT32_BUILDING)
#define KVXE2PT32_API __attribute__((visibility("default")))
#else
#define KVXE2PT32_API
#endif

class KVXE2PT32_API CEMF2PDFTranscoder {
public:
    explicit CEMF2PDFTranscoder(platform::HWND window);
    ~CEMF2PDFTranscoder();
    CEMF2PDFTranscoder(const CEMF2PDFTranscoder&) = delete;
    CEMF2PDFTranscoder& operator=(const CEMF2PDFTranscoder&) = delete;

    // Opens the PDF for the record's output path. Returns nonzero on success; on failure
    // sends PROGRESS_ABORT. The second argument is reserved (pass 0).
    int BeginDocument(const _tagDOCUMENT_INFO* info, unsigned int flags);

    // Draws one metafile as the next PDF page, sized from the metafile's frame. Returns
    // nonzero to let the run go on, zero after a cancel or a failure. Records that are
    // unknown or malformed are skipped; the page is still made.
    int TranscodePage(platform::HENHMETAFILE metafile, int page, int option);

    // Writes the PDF out and sends PROGRESS_DONE (nonzero), or PROGRESS_ABORT (zero) when
    // the document was cancelled, failed, or has no page.
    int EndDocument();

    // Why the document was aborted, in a few words; empty while nothing failed.
    QString FailureReason() const;

private:
    class Private;
    std::unique_ptr<Private> d;
};
