#include "TdxTestSupport.h"

#include "platform/testsupport/TestCorpus.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>

namespace tdxtest {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray pngBytes(int width, int height, Qt::GlobalColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray chapter(const QString& body, const QString& head)
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" \"http://www.w3.org/TR/xhtml11/DTD/xhtml11.dtd\">\n"
               "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>T</title>%1</head>\n<body>%2</body></html>\n")
        .arg(head, body)
        .toUtf8();
}

QString corpusPath(const QString& book)
{
    return TestCorpusFolder() + QLatin1Char('/') + book;
}

bool extractFromCorpus(const QString& book, const QString& folder, const QStringList& members)
{
    QProcess unzip;
    unzip.start("unzip", QStringList{"-q", "-o", corpusPath(book)} + members + QStringList{"-d", folder});
    return unzip.waitForFinished(60000) && unzip.exitStatus() == QProcess::NormalExit && unzip.exitCode() == 0;
}

QList<CDTdxShapeObject> pictures(CDTdxCtrl0& ctrl)
{
    QList<CDTdxShapeObject> found;
    const CDTdxShapeObject last = ctrl.GetLastObject();
    for (CDTdxShapeObject object = ctrl.GetFirstObject(); !object.IsNull() && !(object == last);
         object = object.GetNext())
        if (object.GetId().compare("gso", Qt::CaseInsensitive) == 0)
            found << object;
    return found;
}

} // namespace tdxtest
