#pragma once
// One job as CUPS hands it to the backend: "kvxpdf job-id user title copies options [file]",
// with the queue's device URI in DEVICE_URI, and where its PDF goes.
#include <QString>
#include <QStringList>

struct CBackendJob {
    QString m_strJobId;
    QString m_strUser;
    QString m_strTitle;
    QString m_strFile; // empty: the PDF comes on standard input

    // False unless there are five or six arguments after the program name.
    bool Parse(const QStringList& arguments);
};

// The folder a user's PDFs go to. "kvxpdf:/" (or "kvxpdf:") is the user's own "PDF" folder
// in their home; "kvxpdf:/srv/pdf" is a folder per user below /srv/pdf. Empty when the URI
// is not ours, names a relative folder, or the user has no home.
QString PdfFolderFor(const QString& deviceUri, const QString& home, const QString& user);

// The file name for the job, as the converter names a job's PDF; n > 0 gives the n-th
// alternative, "Report(01).pdf", for a name already taken. Kept within a file name's
// 255 bytes.
QString JobPdfName(const QString& title, int n = 0);
