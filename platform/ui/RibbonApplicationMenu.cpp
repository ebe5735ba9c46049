#include "platform/ui/RibbonApplicationMenu.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace platform {

namespace {

QToolButton* entryButton(QAction* action)
{
    auto* button = new QToolButton;
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QFrame* line(QFrame::Shape shape)
{
    auto* separator = new QFrame;
    separator->setFrameShape(shape);
    separator->setFrameShadow(QFrame::Sunken);
    return separator;
}

} // namespace

RibbonApplicationMenu::RibbonApplicationMenu(QWidget* parent)
    : QMenu(parent)
    , m_recentBox(new QWidget)
    , m_column(new QVBoxLayout)
    , m_recentList(new QVBoxLayout)
    , m_recentCaption(new QLabel)
    , m_bottomRow(new QVBoxLayout)
{
    auto* panel = new QWidget;
    auto* outer = new QVBoxLayout(panel);
    outer->setContentsMargins(4, 4, 4, 4);
    auto* body = new QHBoxLayout;
    m_column->setSpacing(0);
    body->addLayout(m_column);
    body->addWidget(line(QFrame::VLine));
    auto* recent = new QVBoxLayout(m_recentBox);
    recent->setContentsMargins(4, 0, 0, 0);
    QFont bold = m_recentCaption->font();
    bold.setBold(true);
    m_recentCaption->setFont(bold);
    recent->addWidget(m_recentCaption);
    recent->addWidget(line(QFrame::HLine));
    m_recentList->setSpacing(0);
    recent->addLayout(m_recentList);
    recent->addStretch(1);
    m_recentBox->hide();
    body->addWidget(m_recentBox, 0);
    outer->addLayout(body);
    outer->addLayout(m_bottomRow);

    auto* holder = new QWidgetAction(this);
    holder->setDefaultWidget(panel);
    addAction(holder);
}

void RibbonApplicationMenu::addEntry(QAction* action)
{
    m_entries.append(action);
    QToolButton* button = entryButton(action);
    button->installEventFilter(this);
    m_column->addWidget(button);
    connect(action, &QAction::triggered, this, &QMenu::close);
}

void RibbonApplicationMenu::addEntrySeparator()
{
    m_entries.append(nullptr);
    m_column->addWidget(line(QFrame::HLine));
}

void RibbonApplicationMenu::setRecentCaption(const QString& caption, int width)
{
    m_recentCaption->setText(caption);
    m_recentBox->setFixedWidth(width);
    m_recentBox->show();
}

QString RibbonApplicationMenu::recentCaption() const { return m_recentCaption->text(); }
int RibbonApplicationMenu::recentWidth() const { return m_recentBox->isVisibleTo(this) ? m_recentBox->width() : 0; }

void RibbonApplicationMenu::setRecentFiles(const QStringList& paths)
{
    while (QLayoutItem* item = m_recentList->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_recentPaths = paths;
    for (int index = 0; index < paths.size(); ++index) {
        const QString path = paths.at(index);
        auto* entry = new QToolButton;
        entry->setText(QStringLiteral("&%1 %2").arg(index + 1).arg(QFileInfo(path).fileName()));
        entry->setToolTip(path);
        entry->setAutoRaise(true);
        entry->setToolButtonStyle(Qt::ToolButtonTextOnly);
        entry->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(entry, &QToolButton::clicked, this, [this, index] { chooseRecentFile(index); });
        m_recentList->addWidget(entry);
    }
}

void RibbonApplicationMenu::chooseRecentFile(int index)
{
    if (index < 0 || index >= m_recentPaths.size())
        return;
    const QString path = m_recentPaths.at(index);
    close();
    emit recentFileChosen(path);
}

bool RibbonApplicationMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        return true;
    return QMenu::eventFilter(watched, event);
}

void RibbonApplicationMenu::setBottomEntry(QAction* action)
{
    m_bottom = action;
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* button = new QToolButton;
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->installEventFilter(this);
    row->addWidget(button);
    m_bottomRow->addLayout(row);
    connect(action, &QAction::triggered, this, &QMenu::close);
}

} // namespace platform
