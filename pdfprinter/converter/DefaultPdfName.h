#pragma once
#include <QString>

// The file name proposed for a job's PDF, made from the job's document name: the title
// without extension or folder, without an application's "Microsoft Word -" style prefix,
// with the characters a file name cannot hold replaced by "_", ending in ".pdf".
QString MakeDefaultPdfName(const QString& documentName);
