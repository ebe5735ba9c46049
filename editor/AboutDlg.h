#pragma once
#include <QDialog>

// The about box: title, icon, program name and version, and one more line.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
