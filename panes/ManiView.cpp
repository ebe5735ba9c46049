#include "panes/ManiView.h"

#include "panes/PaneImages.h"
#include "panes/PaneTexts.h"
#include "platform/ui/QtTreeControl.h"

CManiView::CManiView(QWidget* parent)
    : CTreePane(PaneImages::FileTypeStrip(), panetexts::NoInformation(), false, parent)
{
    Tree()->setObjectName(QStringLiteral("ManifestTree"));
}
