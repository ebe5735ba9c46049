#pragma once
// "추가항목 입력창": picks one of the twelve additional publication items. The help line
// follows the row at the selection mark, however it was reached (click or keyboard), and
// "추가" returns that row's name and help text.
#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;

class CAttributeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kListId = 1020;
    static constexpr int kHelpId = 1021;

    explicit CAttributeDlg(QWidget* parent = nullptr);

    QString GetName() const { return m_strName; }
    QString GetHelp() const { return m_strHelp; }
    QString HelpLine() const;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The row the user last selected; -1 when no row is selected.
    int SelectionMark() const;
    void ShowHelpOfMark();

    QListWidget* m_pList = nullptr;
    QLabel* m_pHelp = nullptr;
    QString m_strName;
    QString m_strHelp;
};
