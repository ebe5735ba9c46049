// Text laid out for the printer: nothing may fall off the page or out of the text.
#include "components/printjob/TextPages.h"

#include <gtest/gtest.h>

#include <QBuffer>

using namespace printjob;

namespace {

QString joined(const QList<QStringList>& pages)
{
    QString all;
    for (const QStringList& page : pages)
        all += page.join(QString());
    return all;
}

} // namespace

TEST(TextPages, LongLinesWrapByTheirMeasuredWidthAndKeepEveryCharacter)
{
    const QString hangul = QString(60, QChar(0xD55C)); // 60 x '한'
    const QString mixed = QStringLiteral("한글과 English 섞인 줄입니다 ") + QString(30, u'가') + QStringLiteral(" abcdefghijklmnop");
    const QString narrow = QString(130, u'i');
    const QString wide = QString(100, u'W');
    for (const QString& line : {hangul, mixed, narrow, wide}) {
        const QList<QStringList> pages = PaginateText(line);
        ASSERT_EQ(pages.size(), 1) << qPrintable(line);
        EXPECT_EQ(joined(pages), line) << qPrintable(line);
        for (const QString& part : pages[0]) {
            EXPECT_LE(TextLineWidth(part), TextLineRoom()) << qPrintable(part);
            EXPECT_FALSE(part.isEmpty());
        }
    }
    // Wide glyphs need more lines than narrow ones of the same count.
    EXPECT_GT(PaginateText(hangul)[0].size(), 1);
    EXPECT_EQ(PaginateText(QString(60, u'i'))[0].size(), 1);
}

TEST(TextPages, FormFeedsAndLineEndsAsATextPrinterReadsThem)
{
    QStringList fifty;
    for (int i = 1; i <= 50; ++i)
        fifty.append(QString::number(i));
    const struct {
        const char* name;
        QString text;
        QList<QStringList> pages;
    } cases[] = {
        {"empty text, one blank page", QString(), {{}}},
        {"a feed starts a new page", "one\ftwo\nthree", {{"one"}, {"two", "three"}}},
        {"a feed at the end adds no page", "one\n\f", {{"one"}}},
        {"two feeds leave a blank page", "one\f\ftwo", {{"one"}, {}, {"two"}}},
        {"a feed after a full page adds no blank one", fifty.join('\n') + "\n\fnext", {fifty, {"next"}}},
        {"CR LF, CR and LF all end lines", "a\r\nb\rc\nd", {{"a", "b", "c", "d"}}},
        {"trailing blank lines are dropped", "a\n\n\n", {{"a"}}},
        {"tabs become spaces, other controls vanish", "a\tb\x01" "c", {{"a    bc"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PaginateText(c.text), c.pages) << c.name;
}

TEST(TextPages, PagesComeOneAtATimeFromTheDevice)
{
    QString text;
    for (int i = 0; i < 10000; ++i)
        text += QStringLiteral("줄 %1 of a long text\n").arg(i);
    QByteArray bytes = text.toUtf8();
    QBuffer device(&bytes);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    TextPager pager(&device);
    QStringList page;
    ASSERT_TRUE(pager.nextPage(&page));
    EXPECT_EQ(page.size(), 50);
    EXPECT_EQ(page.constFirst(), QStringLiteral("줄 0 of a long text"));
    // Only a chunk of the text has been read for the first page.
    EXPECT_LT(device.pos(), bytes.size() / 4);
    int pages = 1;
    while (pager.nextPage(&page))
        ++pages;
    EXPECT_EQ(pages, 200);
    EXPECT_EQ(page.constLast(), QStringLiteral("줄 9999 of a long text"));
}
