#pragma once
// Keeps one job's PDF as a file: written beside its final name, given the job's title and
// author, and renamed into place only when complete, never over another file.
#include <QString>

#include <cstdio>

struct CPdfDeliveryRequest {
    QString m_strFolder; // made if missing
    QString m_strTitle;  // the job's title: the file name and the PDF's title
    QString m_strAuthor; // the job's user
};

class CPdfDelivery {
public:
    // Reads the PDF from input (CUPS's file or standard input) and delivers it. Returns
    // the path it was saved under, or empty with the reason in *error.
    static QString Deliver(std::FILE* input, const CPdfDeliveryRequest& request, QString* error);

    // The file being written, for the signal handler that removes it when CUPS cancels.
    static const char* PendingFile();
};
