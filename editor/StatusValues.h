#pragma once
#include <QString>

// The control's eight status values and the status-bar texts made from them.
struct StatusValues {
    int sectionCount = 0;  // 1
    int section = 0;       // 2
    int page = 0;          // 3
    int column = 0;        // 4
    int line = 0;          // 5
    int position = 0;      // 6
    short overwrite = 0;   // 7
    QString text;          // 8: the current paragraph's style name

    QString PageText() const { return QString::asprintf("  %5d쪽 %5d단", page, column); }
    QString LineText() const { return QString::asprintf("  %5d줄 %5d칸", line, position); }
    QString StyleText() const { return text + QLatin1Char(' '); }
    QString SectionText() const { return QString::asprintf(" %d/%d구역 ", section, sectionCount); }
    QString ModeText() const { return overwrite != 0 ? QStringLiteral("수정") : QStringLiteral("삽입"); }
};
