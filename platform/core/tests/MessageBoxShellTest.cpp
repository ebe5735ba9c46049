#include "platform/core/MessageBox.h"
#include "platform/core/Shell.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MessageBoxService, ScriptedBackendRecordsAndAnswersInOrder)
{
    ScriptedMessageBoxes script;
    ScopedMessageBoxBackend scope(&script);
    script.enqueue(MessageResult::No);

    EXPECT_EQ(ShowMessage("first?", "cap", MessageButtons::YesNoCancel), MessageResult::No);
    // An empty queue falls back to the first button of the set.
    EXPECT_EQ(ShowMessage("second?", "cap", MessageButtons::YesNo), MessageResult::Yes);

    ASSERT_EQ(script.asked().size(), 2);
    EXPECT_EQ(script.asked()[0].text, "first?");
    EXPECT_EQ(script.asked()[1].buttons, MessageButtons::YesNo);
}

TEST(MessageBoxService, ScopeRestoresPreviousBackend)
{
    MessageBoxBackend* before = messageBoxBackend();
    {
        ScriptedMessageBoxes script;
        ScopedMessageBoxBackend scope(&script);
        EXPECT_EQ(messageBoxBackend(), &script);
    }
    EXPECT_EQ(messageBoxBackend(), before);
}

TEST(ShellService, RecordingBackendSeesOpenAndStart)
{
    RecordingShell shell;
    ScopedShellBackend scope(&shell);
    EXPECT_TRUE(ShellOpen("http://example.invalid/x"));
    EXPECT_TRUE(ShellStart("prog", {"-a"}));
    ASSERT_EQ(shell.requests().size(), 2);
    EXPECT_EQ(shell.requests()[0].kind, ShellRequest::Kind::Open);
    EXPECT_EQ(shell.requests()[1].arguments, QStringList{"-a"});
}
