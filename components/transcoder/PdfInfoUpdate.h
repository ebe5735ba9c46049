#pragma once
// The PDF writer knows a title but no author. This device passes the PDF through to its
// target, keeps the end of it, and then appends an incremental update whose document
// information names the title and the author, as any PDF reader merges such updates.
#include <QIODevice>
#include <QString>

namespace kvxpdf {

class PdfInfoUpdate : public QIODevice {
public:
    explicit PdfInfoUpdate(QIODevice* target);

    bool isSequential() const override { return true; }
    qint64 size() const override { return m_written; }

    // Appends the update after the writer has finished; false if the trailer was not found
    // or the target refused the bytes.
    bool appendInfo(const QString& title, const QString& author, const QString& creator);

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    QIODevice* m_target;
    QByteArray m_tail;
    qint64 m_written = 0;
};

} // namespace kvxpdf
