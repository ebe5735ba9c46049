#pragma once
// The conversion run: reads the job's spooled pages back from the spooler and hands them,
// one at a time, to the transcoder that writes the PDF. Started once by the progress
// dialog's convert timer.
#include <QString>

class CPrinterConverterDlg;
struct _tagCONVERT_JOB;
struct _tagDOCUMENT_INFO;

void RunConversion(CPrinterConverterDlg& dlg, const _tagCONVERT_JOB& job);

// Says on stderr why a silent run wrote no PDF.
void ReportSilentFailure(const _tagCONVERT_JOB& job, const QString& reason);

// "printer,Job N": the name that opens one job of a printer for reading. Empty when it does
// not fit the 260-byte name buffer, where a cut name would open another printer or job.
QString JobPrinterName(const _tagCONVERT_JOB& job);

// The name of the user running the converter; empty when it cannot be read.
QString ConverterUserName();

// The transcoder's document record: output path, document name, user and option words.
void FillDocumentInfo(const _tagCONVERT_JOB& job, const QString& userName, _tagDOCUMENT_INFO* info);
