#pragma once
// A fresh machine for each installer test: its own platform root and temporary folder
// (for this process and for the pdfsetup runs it starts), and a source folder laid out
// as the build lays out x86/ and x64/.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

class SetupFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the real pdfsetup with `arguments` in `workingFolder` (default: the source
    // folder) and returns its exit status.
    int RunSetup(const QStringList& arguments, const QString& workingFolder = QString());

    // Lines of the last section of PrinterSetup.log, with the time of the header masked
    // as "Time : <T>" when it has the expected form.
    QStringList LastLogSection() const;
    QString ReadTextFile(const QString& path) const;

    // "-" + the environment line every section starts with.
    QStringList Header() const;
    QString Environment() const;
    QString Sub() const; // "x64" or "x86"
    QString DriverDirectory() const;
    // Registry helpers on the local-machine hive.
    static QString ReadValue(const QString& key, const QString& name, bool* found = nullptr);

    static const QString kProductKey;
    static const QString kRunOnceKey;

    QTemporaryDir m_dir;
    QString m_root;   // platform root
    QString m_temp;   // TMPDIR
    QString m_source; // holds x86/ and x64/

private:
    QByteArray m_savedRoot;
    QByteArray m_savedTemp;
    QByteArray m_savedCupsServer;
};
