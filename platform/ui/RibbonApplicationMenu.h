#pragma once
#include <QMenu>

class QLabel;
class QVBoxLayout;

namespace platform {

// The ribbon's application menu: a column of commands, beside it the recent-file list
// under its caption, and one button at the bottom. It closes as soon as an entry is chosen.
class RibbonApplicationMenu : public QMenu {
    Q_OBJECT
public:
    explicit RibbonApplicationMenu(QWidget* parent = nullptr);

    void addEntry(QAction* action);
    void addEntrySeparator();
    void setRecentCaption(const QString& caption, int width);
    void setRecentFiles(const QStringList& paths);
    void setBottomEntry(QAction* action);

    // The column's entries in order; null stands for a separator.
    const QList<QAction*>& entries() const { return m_entries; }
    QString recentCaption() const;
    int recentWidth() const;
    QStringList recentFiles() const { return m_recentPaths; }
    QAction* bottomEntry() const { return m_bottom; }
    // Chooses the recent file at `index` as a click would.
    void chooseRecentFile(int index);

signals:
    void recentFileChosen(const QString& path);

protected:
    // The menu shows its commands by label only, without their tool tips.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_recentBox;
    QVBoxLayout* m_column;
    QVBoxLayout* m_recentList;
    QLabel* m_recentCaption;
    QVBoxLayout* m_bottomRow;
    QList<QAction*> m_entries;
    QStringList m_recentPaths;
    QAction* m_bottom = nullptr;
};

} // namespace platform
