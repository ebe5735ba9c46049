#pragma once
// What the online tests share: a loopback update server named in the editor's profile,
// scripted message boxes and a recording shell.
#include "online/tests/support/LoopbackHttpServer.h"
#include "online/EditorProfile.h"
#include "online/UpdateServer.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Shell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

inline QByteArray WithBom(const QByteArray& text) { return QByteArray("\xEF\xBB\xBF") + text; }

// Runs the event loop until the condition holds; false if it did not within the time.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

inline void SetUpdateServer(const QVariant& host, const QVariant& port)
{
    const auto profile = OpenEditorProfile();
    profile->setValue(kUpdateServerHostKey, host);
    profile->setValue(kUpdateServerPortKey, port);
}

class OnlineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("no_proxy", "127.0.0.1,localhost"); // the loopback server is never behind a proxy
        SetUpdateServer(QStringLiteral("127.0.0.1"), server.port());
    }
    void TearDown() override { OpenEditorProfile()->remove(QStringLiteral("UpdateServer")); }

    LoopbackHttpServer server;
    platform::ScriptedMessageBoxes boxes;
    platform::ScopedMessageBoxBackend boxScope{&boxes};
    platform::RecordingShell shell;
    platform::ScopedShellBackend shellScope{&shell};
};
