#pragma once
// What the CUPS tests share: small PDFs, poppler's reading of them, and a scratch folder
// that every user of the machine may write in (the backend works as the job's user).
#include <QString>

namespace cupstest {

// A one-page PDF with the given text.
void WritePdf(const QString& path, const QString& text);

QString PdfText(const QString& pdf);
// The value of one "Name: value" line of pdfinfo.
QString PdfInfo(const QString& pdf, const QString& field);

// A folder below /tmp, writable by all, removed by the destructor.
class OpenFolder {
public:
    OpenFolder();
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// The name of the user running the test.
QString CurrentUser();

} // namespace cupstest
