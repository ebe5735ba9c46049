#pragma once
// The converter's string table, keyed by the resource ids the program has always used.
#include <QString>
#include <QStringList>

enum ConverterStringId {
    IDS_DOCUMENT_LINE = 102,
    IDS_FOLDER_LINE = 104,
    IDS_PAGE_STATUS = 105,
    IDS_SAVING = 106,
    IDS_DONE = 107,
    IDS_JOB_ERROR = 109,
    IDS_SAVE_AS_TITLE = 110,
    IDS_SAVE_AS_EXTENSION = 111,
    IDS_SAVE_AS_FILTER = 112,
    IDS_NAME_LINE = 113,
    IDS_NO_VIEWER = 114,
    IDS_NO_DOCUMENT = 115,
    IDS_CLOSE = 117,
    IDS_FILE_IN_USE = 118,
    IDS_APP_PREFIXES = 119,
    IDS_CANCEL = 131,
};

// Empty for an unknown id, as LoadString leaves its buffer.
QString LoadConverterString(int id);

// Caption of every window and message box of the converter.
QString ConverterCaption();

// A table text with its "%s" and "%d" fields filled in order, as sprintf would.
QString FormatConverterString(int id, const QStringList& arguments);
