#pragma once
// Where the PDF goes: the Save As question of save-as mode and the check that the chosen
// file can be written.
#include <QString>
#include <QStringList>

#include <functional>

struct _tagCONVERT_JOB;
class QWidget;

struct SaveAsDialogRequest {
    QString title;
    QString defaultExtension; // with its dot, as the string table has it
    QString filter;           // "description|pattern|...||"
    QString fileName;         // proposed or last chosen
    QWidget* owner = nullptr;
};

// Runs a Save As dialog; false when the user cancels. The Qt one asks before replacing a file.
using SaveAsPrompt = std::function<bool(const SaveAsDialogRequest& request, QString* chosen)>;
bool RunSaveAsDialog(const SaveAsDialogRequest& request, QString* chosen);

// "desc|pattern|desc|pattern||" as Qt name filters ("desc (pattern)").
QStringList SaveAsNameFilters(const QString& filter);

// Proves that the file can be written: creates it (*created then true), or opens an existing
// one, which keeps its contents until the new PDF replaces it. A file another program holds
// locked is reported with message 118, other failures with the system's text; both in a
// "Corvel PDF" box owned by owner.
bool CheckOutputFile(const QString& path, QWidget* owner = nullptr, bool* created = nullptr);

// False when the block's output path fills its field without a terminator: the starter cut
// a longer path, and the cut one names another file.
bool OutputPathFits(const _tagCONVERT_JOB& job);

// Asks until a writable path is chosen (stored into the block's output path) or the user
// cancels (false).
bool AskOutputPath(_tagCONVERT_JOB& job, QWidget* owner, const SaveAsPrompt& prompt = RunSaveAsDialog,
                   bool* created = nullptr);
