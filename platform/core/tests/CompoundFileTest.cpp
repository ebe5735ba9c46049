// Compound files: what is written reads back, stream by stream.
#include "platform/core/CompoundFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(CompoundFile, StreamsAndStoragesRoundTrip)
{
    QTemporaryDir dir;
    const QMap<QString, QByteArray> streams{
        {"Contents", "<html/>"}, {"PrvImage", QByteArray(5000, 'g')},
        {"BinData/BIN0001.png", QByteArray(70000, '\x01')}, {"BinData/BIN0002.jpg", "jpeg"}};
    const QString path = dir.filePath("doc.tdx");
    ASSERT_TRUE(platform::CompoundFile::write(path, streams));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(platform::CompoundFile::isCompound(file.read(8)));
    QMap<QString, QByteArray> read;
    ASSERT_TRUE(platform::CompoundFile::read(path, read));
    EXPECT_EQ(read, streams);
    QByteArray preview;
    ASSERT_TRUE(platform::CompoundFile::readStream(path, "PrvImage", preview));
    EXPECT_EQ(preview, streams.value("PrvImage"));
    EXPECT_FALSE(platform::CompoundFile::readStream(path, "Missing", preview));
    EXPECT_FALSE(platform::CompoundFile::readStream(path, "BinData", preview)) << "a storage is not a stream";

    QFile plain(dir.filePath("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("not a compound file");
    plain.close();
    EXPECT_FALSE(platform::CompoundFile::read(plain.fileName(), read));
    EXPECT_FALSE(platform::CompoundFile::readStream(plain.fileName(), "PrvImage", preview));
    EXPECT_FALSE(platform::CompoundFile::read(dir.filePath("missing"), read));
    EXPECT_FALSE(platform::CompoundFile::write(dir.filePath("no/folder/doc.tdx"), streams));
}

} // namespace
