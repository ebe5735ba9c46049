#include "panes/StyleView.h"

#include "panes/PaneHost.h"
#include "panes/PaneTexts.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The row index is what the document's style command receives.
const char* const kEntries[CStyleView::kEntryCount] = {
    "바탕글", "본문", "개요1", "개요2", "개요3", "개요4", "개요5", "개요6", "개요7", "양쪽정렬",
    "왼쪽정렬", "오른쪽정렬", "중앙정렬", "들여쓰기", "내어쓰기", "번호매김", "글머리", "쪽번호", "머리말", "각주",
};

} // namespace

CStyleView::CStyleView(CPaneHost& host, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
    , m_pList(new QTreeWidget)
{
    m_pList->setObjectName(QStringLiteral("styleList"));
    m_pList->setColumnCount(1);
    m_pList->setHeaderLabels({panetexts::StyleColumn()});
    m_pList->setRootIsDecorated(false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setFrameShape(QFrame::NoFrame);
    m_pList->header()->setStretchLastSection(false);
    m_pList->header()->setSectionsMovable(false);
    for (const char* entry : kEntries)
        m_pList->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromUtf8(entry)}));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_pList);
    setFocusProxy(m_pList);
    // The column follows the viewport, which the layout resizes after this widget.
    m_pList->viewport()->installEventFilter(this);

    connect(m_pList, &QTreeWidget::clicked, this, [this] { OnClick(); });
}

void CStyleView::OnClick()
{
    const QList<QTreeWidgetItem*> selected = m_pList->selectedItems();
    if (selected.isEmpty())
        return;
    if (m_host.HasActiveView())
        m_host.ApplyStyleEntry(m_pList->indexOfTopLevelItem(selected.first()));
}

bool CStyleView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pList->viewport() && event->type() == QEvent::Resize)
        m_pList->setColumnWidth(0, qMax(0, m_pList->viewport()->width() - 3));
    return QWidget::eventFilter(watched, event);
}

void CStyleView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(m_pList->geometry().adjusted(-1, -1, 0, 0));
}
