#pragma once
// Helpers for the tests that drive the real word-processor control through CDTdxCtrl0.
#include "editor/DTdxCtrl0.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tdxtest {

// The options the chapter view uses.
inline const QString kOpenKeepStyles = QStringLiteral("imagelink:true;tdxstyle:false;code:utf8;");
inline const QString kOpenControlStyles = QStringLiteral("imagelink:true;tdxstyle:true;code:utf8");
inline const QString kReopenKeepStyles = QStringLiteral("imagelink:true;tdxstyle:false;code:utf8");
inline const QString kSaveOptions = QStringLiteral("imagePath:images;textunit:em;");

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& data);
// A small PNG of the given size.
QByteArray pngBytes(int width, int height, Qt::GlobalColor color = Qt::red);
// A chapter: XHTML 1.1 around the given body markup.
QByteArray chapter(const QString& body, const QString& head = QString());
// Extracts members of a corpus book into `folder` with unzip; all members when none given.
bool extractFromCorpus(const QString& book, const QString& folder, const QStringList& members = {});
QString corpusPath(const QString& book);

// Drawing objects of the control's document, walked the way the editor walks them.
QList<CDTdxShapeObject> pictures(CDTdxCtrl0& ctrl);

} // namespace tdxtest
