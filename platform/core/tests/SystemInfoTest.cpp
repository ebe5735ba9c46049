#include "platform/core/KnownFolders.h"
#include "platform/core/ProcessStatus.h"
#include "platform/core/SystemInfo.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

using namespace platform;

TEST(SystemInfo, MachineNamesGiveWin32ArchitectureCodes)
{
    const struct {
        const char* machine;
        quint16 code;
    } cases[] = {
        {"x86_64", ProcessorArchitectureAmd64}, {"aarch64", ProcessorArchitectureArm64},
        {"i686", ProcessorArchitectureIntel},   {"i386", ProcessorArchitectureIntel},
        {"armv7l", ProcessorArchitectureArm},   {"riscv64", ProcessorArchitectureUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProcessorArchitectureFromMachine(c.machine), c.code) << c.machine;
}

TEST(SystemInfo, RedirectionSwitchNestsPerThread)
{
    EXPECT_FALSE(IsFsRedirectionDisabled());
    void* outer = nullptr;
    void* inner = nullptr;
    ASSERT_TRUE(Wow64DisableWow64FsRedirection(&outer));
    ASSERT_TRUE(Wow64DisableWow64FsRedirection(&inner));
    ASSERT_TRUE(Wow64RevertWow64FsRedirection(inner));
    EXPECT_TRUE(IsFsRedirectionDisabled());
    ASSERT_TRUE(Wow64RevertWow64FsRedirection(outer));
    EXPECT_FALSE(IsFsRedirectionDisabled());
    EXPECT_FALSE(Wow64RevertWow64FsRedirection(outer)); // nothing left to revert
}

TEST(KnownFolders, SystemFolderIsTheWindowsFolderUnderThePlatformRoot)
{
    EXPECT_EQ(WindowsFolder(), PlatformRoot() + "/Windows");
    EXPECT_EQ(SystemFolder(), PlatformRoot() + "/Windows/System32");
    EXPECT_TRUE(QFileInfo(SystemFolder()).isDir());
}

TEST(ProcessStatus, SeesThisProcessAndAFileItMaps)
{
    QList<ProcessId> processes;
    ASSERT_TRUE(EnumProcesses(&processes, 1 << 20));
    EXPECT_TRUE(processes.contains(ProcessId(getpid())));
    QList<ProcessId> few;
    ASSERT_TRUE(EnumProcesses(&few, 2));
    EXPECT_EQ(few.size(), 2);

    QTemporaryDir dir;
    QFile file(dir.filePath("Mapped Module.dll"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write(QByteArray(8192, 'x'));
    file.flush();
    uchar* address = file.map(0, 8192);
    ASSERT_NE(address, nullptr);

    ProcessHandle self;
    ASSERT_TRUE(OpenProcess(ProcessId(getpid()), &self));
    QList<ModuleHandle> modules;
    ASSERT_TRUE(self.enumModules(&modules, 4096));
    EXPECT_TRUE(modules.contains(ModuleHandle(quintptr(address))));
    QString name;
    ASSERT_TRUE(self.moduleFileName(ModuleHandle(quintptr(address)), &name));
    EXPECT_EQ(name, QFileInfo(file).canonicalFilePath());
    ASSERT_TRUE(self.moduleBaseName(ModuleHandle(quintptr(address)), &name));
    EXPECT_EQ(name, "Mapped Module.dll");
    EXPECT_FALSE(self.moduleFileName(1, &name));
    file.unmap(address);

    ProcessHandle gone;
    EXPECT_FALSE(OpenProcess(0x7FFFFFF0, &gone));
}
