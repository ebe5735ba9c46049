#include "pdfprinter/converter/SpoolRecordWalk.h"
#include "pdfprinter/converter/tests/SpoolStream.h"

#include <gtest/gtest.h>

#include <QList>

#include <algorithm>
#include <cstring>

namespace {

struct WalkResult {
    CSpoolRecordWalk::End end;
    QList<QByteArray> pages;
    std::uint32_t largestRead = 0;
};

// Reads the data at most `step` bytes at a time, as a spooler may hand it out.
WalkResult walk(const QByteArray& data, std::uint32_t step = 0xFFFFFFFF, int stopAfter = -1)
{
    WalkResult result;
    qsizetype offset = 0;
    CSpoolRecordWalk walker(
        [&](void* buffer, std::uint32_t size, std::uint32_t* read) {
            result.largestRead = std::max(result.largestRead, size);
            const auto n = std::min<qsizetype>({qsizetype(size), qsizetype(step), data.size() - offset});
            std::memcpy(buffer, data.constData() + offset, size_t(n));
            offset += n;
            *read = std::uint32_t(n);
            return true;
        },
        [&](const QByteArray& page) {
            result.pages.append(page);
            return stopAfter < 0 || result.pages.size() < stopAfter;
        });
    result.end = walker.Run();
    return result;
}

using End = CSpoolRecordWalk::End;

} // namespace

TEST(SpoolRecordWalk, FindsEveryPageAndStepsOverOtherRecords)
{
    const struct {
        const char* name;
        QByteArray data;
        QList<QByteArray> pages;
        End end;
    } cases[] = {
        {"pages of both types between other records",
         SpoolStream().opening("docname!").record(12, "page-one").record(13, "12345678")
             .record(1, "page-two").record(3, "x").record(12, "page-three").bytes(),
         {"page-one", "page-two", "page-three"}, End::NoMoreRecords},
        {"a page of size 0 carries nothing and the walk goes on",
         SpoolStream().opening().record(12, {}).record(12, "after").bytes(), {"after"}, End::NoMoreRecords},
        {"only other records", SpoolStream().opening().record(13, "abcd").record(14, {}).bytes(), {}, End::NoMoreRecords},
        {"an opening record too small to count its header skips nothing",
         SpoolStream().raw(SpoolStream::kVersion, 4, {}).record(12, "p").bytes(), {"p"}, End::NoMoreRecords},
        {"a page record first is still a page", SpoolStream().record(12, "first").bytes(), {"first"}, End::NoMoreRecords},
        {"a page whose data stops early is not handed on and ends the walk",
         SpoolStream().opening().record(12, "ok").raw(12, 100, "only-some").record(12, "never").bytes(), {"ok"},
         End::IncompletePage},
        {"a hostile page size ends the walk without a page",
         SpoolStream().opening().raw(12, 0xFFFFFFFF, "tiny").bytes(), {}, End::IncompletePage},
        {"another record reaching past the end ends the walk",
         SpoolStream().opening().record(12, "ok").raw(13, 0xFFFFFFF0, "xx").bytes(), {"ok"}, End::BrokenRecord},
        {"a cut record header ends the walk",
         SpoolStream().opening().record(12, "ok").bytes() + QByteArray("\x0c\0\0", 3), {"ok"}, End::BrokenRecord},
        {"empty data", {}, {}, End::NoMoreRecords},
    };
    for (const auto& c : cases) {
        const WalkResult whole = walk(c.data);
        EXPECT_EQ(whole.pages, c.pages) << c.name;
        EXPECT_EQ(whole.end, c.end) << c.name;
        // The same data handed out a few bytes at a time gives the same walk.
        const WalkResult trickle = walk(c.data, 3);
        EXPECT_EQ(trickle.pages, c.pages) << c.name << " (read in small pieces)";
        EXPECT_EQ(trickle.end, c.end) << c.name << " (read in small pieces)";
    }
}

TEST(SpoolRecordWalk, ReadsLargePagesInChunksOf64K)
{
    QByteArray big(200000, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    const WalkResult result = walk(SpoolStream().opening().record(12, big).bytes());
    ASSERT_EQ(result.pages.size(), 1);
    EXPECT_EQ(result.pages[0], big);
    EXPECT_LE(result.largestRead, 65536);
}

TEST(SpoolRecordWalk, StopsWhenThePageCallbackSaysSo)
{
    const QByteArray data = SpoolStream().opening().record(12, "a").record(12, "b").record(12, "c").bytes();
    const WalkResult result = walk(data, 0xFFFFFFFF, 2);
    EXPECT_EQ(result.pages, (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(result.end, End::StoppedByPage);
}

TEST(SpoolRecordWalk, AFailedReadEndsTheWalk)
{
    const QByteArray data = SpoolStream().opening().record(12, "a").record(12, "b").bytes();
    qsizetype offset = 0;
    QList<QByteArray> pages;
    CSpoolRecordWalk walker(
        [&](void* buffer, std::uint32_t size, std::uint32_t* read) {
            if (offset >= 27) // fails inside the second page's header
                return false;
            const auto n = std::min<qsizetype>({qsizetype(size), 27 - offset});
            std::memcpy(buffer, data.constData() + offset, size_t(n));
            offset += n;
            *read = std::uint32_t(n);
            return true;
        },
        [&](const QByteArray& page) {
            pages.append(page);
            return true;
        });
    EXPECT_EQ(walker.Run(), End::BrokenRecord);
    EXPECT_EQ(pages, QList<QByteArray>{"a"});
}
