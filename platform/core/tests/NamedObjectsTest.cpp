#include "platform/core/NamedEvent.h"
#include "platform/core/NamedMutex.h"
#include "platform/core/NamedObjectName.h"
#include "platform/core/NamedSharedMemory.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>

using namespace platform;

namespace {

// Objects are machine-wide; keep this run's apart from any other run at the same time.
class NamedObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("KVX_OBJECT_NAMESPACE", "test" + QByteArray::number(QCoreApplication::applicationPid()) + ".");
    }
    void TearDown() override { qunsetenv("KVX_OBJECT_NAMESPACE"); }
};

} // namespace

TEST(NamedObjectName, MapsWindowsNamesOneToOne)
{
    const struct {
        const char* windowsName;
        const char* posixName;
    } cases[] = {
        {"Global\\SHMEM{9B63F701-A616-4994-A99A-EB38719733A1}", "/Global%5CSHMEM{9B63F701-A616-4994-A99A-EB38719733A1}"},
        {"Global_SHMEM", "/Global_SHMEM"},   // stays apart from "Global\SHMEM"
        {"a/b c%", "/a%2Fb%20c%25"},
        {"\xea\xb0\x80", "/%EA%B0%80"},      // non-ASCII as its UTF-8 bytes
    };
    for (const auto& c : cases)
        EXPECT_EQ(PosixObjectName(QString::fromUtf8(c.windowsName)), QByteArray(c.posixName)) << c.windowsName;
    EXPECT_TRUE(PosixObjectName(QString(300, 'x')).isEmpty());
}

TEST_F(NamedObjects, NamespaceVariableGoesInFront)
{
    qputenv("KVX_OBJECT_NAMESPACE", "run\\1.");
    EXPECT_EQ(PosixObjectName("Global\\X"), QByteArray("/run%5C1.Global%5CX"));
}

TEST_F(NamedObjects, ReaderSeesWhatTheCreatorWrote)
{
    NamedSharedMemory owner;
    ASSERT_TRUE(owner.create("Global\\SHMEM{test}", 3124));
    std::memset(owner.data(), 0x5A, 3124);

    NamedSharedMemory reader;
    ASSERT_TRUE(reader.openForReading("Global\\SHMEM{test}"));
    const auto* view = static_cast<const unsigned char*>(reader.mapView(3124));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[0], 0x5A);
    EXPECT_EQ(view[3123], 0x5A);
    EXPECT_EQ(reader.data(), nullptr); // read-only
}

TEST_F(NamedObjects, ViewLargerThanTheObjectFails)
{
    NamedSharedMemory owner;
    ASSERT_TRUE(owner.create("Global\\small", 100));
    NamedSharedMemory reader;
    ASSERT_TRUE(reader.openForReading("Global\\small"));
    EXPECT_EQ(reader.mapView(3124), nullptr);
}

TEST_F(NamedObjects, CreatorRemovesTheNameOnClose)
{
    {
        NamedSharedMemory owner;
        ASSERT_TRUE(owner.create("Global\\gone", 16));
        NamedEvent event;
        ASSERT_TRUE(event.create("Global\\gone"));
    }
    NamedSharedMemory reader;
    EXPECT_FALSE(reader.openForReading("Global\\gone"));
    NamedEvent event;
    EXPECT_FALSE(event.open("Global\\gone"));
}

TEST_F(NamedObjects, EventStaysSetAfterAWait)
{
    NamedEvent owner;
    ASSERT_TRUE(owner.create("Global\\EVENT{test}"));
    EXPECT_FALSE(owner.wait(0));

    NamedEvent other;
    ASSERT_TRUE(other.open("Global\\EVENT{test}"));
    EXPECT_TRUE(other.set());
    EXPECT_TRUE(other.set()); // setting twice is one set
    EXPECT_TRUE(owner.wait(0));
    EXPECT_TRUE(owner.wait(0)); // manual reset
    EXPECT_TRUE(owner.isSignalled());
}

TEST_F(NamedObjects, WaitReturnsWhenAnotherThreadSets)
{
    NamedEvent owner;
    ASSERT_TRUE(owner.create("Global\\EVENT{thread}"));
    std::thread setter([] {
        NamedEvent event;
        if (event.open("Global\\EVENT{thread}"))
            event.set();
    });
    const auto join = qScopeGuard([&] { setter.join(); });
    EXPECT_TRUE(owner.wait(10000));
}

TEST_F(NamedObjects, CreateLeavesAnExistingObjectAloneUntilItIsRemoved)
{
    NamedEvent first;
    ASSERT_TRUE(first.create("Global\\EVENT{taken}"));
    first.set();
    NamedEvent second;
    EXPECT_FALSE(second.create("Global\\EVENT{taken}"));
    EXPECT_EQ(second.lastError(), EEXIST);
    EXPECT_TRUE(first.isSignalled()); // the first owner's event is still its own

    NamedSharedMemory mapping;
    ASSERT_TRUE(mapping.create("Global\\SHMEM{taken}", 16));
    NamedSharedMemory other;
    EXPECT_FALSE(other.create("Global\\SHMEM{taken}", 16));
    EXPECT_EQ(other.lastError(), EEXIST);

    // A crashed owner's leftovers go only when asked for by name.
    ASSERT_TRUE(NamedEvent::remove("Global\\EVENT{taken}"));
    EXPECT_TRUE(second.create("Global\\EVENT{taken}"));
    EXPECT_FALSE(second.isSignalled());
    ASSERT_TRUE(NamedSharedMemory::remove("Global\\SHMEM{taken}"));
    EXPECT_TRUE(other.create("Global\\SHMEM{taken}", 16));
}

TEST_F(NamedObjects, AMutexHasOneHolderAtATimeAndGoesWithIt)
{
    NamedMutex holder;
    ASSERT_TRUE(holder.lock("Global\\MUTEX{turns}", 0));
    NamedMutex waiter;
    EXPECT_FALSE(waiter.lock("Global\\MUTEX{turns}", 30));
    EXPECT_EQ(waiter.lastError(), ETIMEDOUT);

    std::thread releaser([&] { holder.unlock(); });
    EXPECT_TRUE(waiter.lock("Global\\MUTEX{turns}", 10000));
    releaser.join();
    waiter.unlock();

    // A holder that dies releases it.
    const pid_t child = ::fork();
    if (child == 0) {
        NamedMutex dying;
        _exit(dying.lock("Global\\MUTEX{turns}", 0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(waiter.lock("Global\\MUTEX{turns}", 0));
    waiter.unlock();
    EXPECT_TRUE(NamedMutex::remove("Global\\MUTEX{turns}"));
}
