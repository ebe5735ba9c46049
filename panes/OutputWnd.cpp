#include "panes/OutputWnd.h"

#include <QFontDatabase>
#include <QTabBar>
#include <QVBoxLayout>

COutputWnd::COutputWnd(QWidget* parent)
    : QWidget(parent)
    , m_pTabs(new QTabBar)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    m_pTabs->setObjectName(QStringLiteral("outputTabs"));
    m_pTabs->setShape(QTabBar::RoundedSouth);
    m_pTabs->setDocumentMode(true); // flat
    m_pTabs->setTabsClosable(false);
    m_pTabs->setDrawBase(false);
    m_pTabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pTabs);
}
