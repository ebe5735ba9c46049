#include "panes/TreePane.h"

#include "panes/NaviToolBar.h"
#include "platform/ui/QtTreeControl.h"

#include <QPainter>
#include <QVBoxLayout>

CTreePane::CTreePane(const QList<QIcon>& images, const QString& placeholder, bool withToolBar, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (withToolBar) {
        m_toolBar = new CNaviToolBar(this);
        layout->addWidget(m_toolBar);
    }
    auto* framed = new QVBoxLayout;
    framed->setContentsMargins(1, 1, 1, 1);
    m_tree = new platform::QtTreeControl(this);
    m_tree->setFrameShape(QFrame::NoFrame);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setItemsExpandable(true);
    m_tree->SetImageList(images);
    framed->addWidget(m_tree);
    layout->addLayout(framed, 1);
    setFocusProxy(m_tree);
    // Shown until the first book is opened or created; never put back.
    m_tree->SetItemBold(m_tree->InsertItem(placeholder, 0), true);
}

void CTreePane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(m_tree->geometry().adjusted(-1, -1, 0, 0));
}
