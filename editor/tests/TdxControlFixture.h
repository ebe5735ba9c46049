#pragma once
// A real control behind CDTdxCtrl0 with a scratch folder, and the open/save round trip
// the chapter view performs.
#include "TdxTestSupport.h"

#include <QRect>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace tdxtest {

class ControlFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    CDTdxCtrl0 ctrl;

    void SetUp() override { ASSERT_TRUE(ctrl.Create(nullptr, QRect(0, 0, 800, 600), 0)); }

    QTextEdit& edit() { return *qobject_cast<QTextEdit*>(ctrl.GetControl()->widget()); }

    // Opens a chapter made of `body` the way the view opens chapters; returns its path.
    QString openBody(const QString& body, const QString& options = kOpenKeepStyles)
    {
        const QString path = dir.filePath("c.xhtml");
        EXPECT_TRUE(writeFile(path, chapter(body)));
        EXPECT_TRUE(ctrl.OpenDocument(path, "HTML", options));
        return path;
    }
    // Writes the chapter back the way the view does and returns the file's text.
    QString saveBack(const QString& path)
    {
        EXPECT_TRUE(ctrl.SaveDocumentAs(path, "XHTML", kSaveOptions));
        return QString::fromUtf8(readFile(path));
    }
};

} // namespace tdxtest
