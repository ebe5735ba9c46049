// The document's editing commands: the ones that need more of the control than running
// one named action.
#include "editor/LindarDoc.h"

#include "editor/DTdxCtrl0.h"
#include "editor/EditorTexts.h"
#include "editor/LindarView.h"
#include "editor/MainFrame.h"
#include "platform/core/MessageBox.h"

#include <QApplication>
#include <QKeyEvent>

#include <iterator>

namespace {

constexpr int kIndentStep = 500;  // in the control's length unit, 1/7200 inch
constexpr int kZoomStep = 20;
constexpr int kMinZoom = 50;
constexpr int kMaxZoom = 200;
constexpr int kNormalZoom = 100;

// MulDiv: a * b / c rounded, with a 64-bit intermediate; 0 for c == 0.
long mulDiv(long a, long b, long c)
{
    if (c == 0)
        return 0;
    const qint64 product = qint64(a) * qint64(b);
    const qint64 half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const qint64 magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return long(negative ? -magnitude : magnitude);
}

} // namespace

void CLindarDoc::FitImagesToPaper(bool ask)
{
    if (!m_pCtrl)
        return;
    if (ask
        && platform::ShowMessage(texts::FitImagesQuestion(), texts::AppTitle(), platform::MessageButtons::YesNo)
               == platform::MessageResult::No)
        return;

    CDTdxAction pageSetup = m_pCtrl->CreateAction(QStringLiteral("PageSetup"));
    CDTdxParameterSet set = pageSetup.CreateSet();
    pageSetup.GetDefault(set);
    set.SetItem(QStringLiteral("ApplyTo"), 3);
    CDTdxParameterSet page = set.CreateItemSet(QStringLiteral("PageDef"), QStringLiteral("PageDef"));
    const long paperWidth = page.GetItemLong(QStringLiteral("PaperWidth"));
    const long paperHeight = page.GetItemLong(QStringLiteral("PaperHeight"));
    const long textHeight = paperHeight - page.GetItemLong(QStringLiteral("BottomMargin"))
        - page.GetItemLong(QStringLiteral("TopMargin"));
    const long textWidth = paperWidth - page.GetItemLong(QStringLiteral("RightMargin"))
        - page.GetItemLong(QStringLiteral("LeftMargin"));

    int changed = 0;
    const CDTdxShapeObject last = m_pCtrl->GetLastObject();
    for (CDTdxShapeObject object = m_pCtrl->GetFirstObject(); !object.IsNull() && !(object == last);
         object = object.GetNext()) {
        if (object.GetId() != QStringLiteral("gso"))
            continue;
        CDTdxParameterSet properties = object.GetProperties();
        const long heightRelTo = properties.GetItemLong(QStringLiteral("HeightRelTo"));
        const long widthRelTo = properties.GetItemLong(QStringLiteral("WidthRelTo"));
        const long height = properties.GetItemLong(QStringLiteral("Height"));
        const long width = properties.GetItemLong(QStringLiteral("Width"));
        // Relation values the control does not define are left alone rather than zeroed.
        const bool fitHeight = heightRelTo == 1 || heightRelTo == 2;
        const bool fitWidth = widthRelTo >= 1 && widthRelTo <= 4;
        if (!fitHeight && !fitWidth)
            continue;
        if (fitHeight) {
            const long newHeight = heightRelTo == 1 ? mulDiv(height, textHeight, paperHeight)
                                                    : mulDiv(height, 10000, paperHeight);
            properties.SetItem(QStringLiteral("Height"), qlonglong(newHeight));
            properties.SetItem(QStringLiteral("HeightRelTo"), 0);
        }
        if (fitWidth) {
            const long newWidth = widthRelTo == 4 ? mulDiv(width, 10000, paperWidth)
                                                  : mulDiv(width, textWidth, paperWidth);
            properties.SetItem(QStringLiteral("Width"), qlonglong(newWidth));
            properties.SetItem(QStringLiteral("WidthRelTo"), 0);
        }
        object.SetProperties(properties);
        ++changed;
    }
    if (ask)
        platform::ShowMessage(changed > 0 ? texts::FitImagesDone() : texts::FitImagesNone(), texts::AppTitle(),
                              platform::MessageButtons::Ok);
}

void CLindarDoc::ChangeIndentation(bool indent)
{
    if (!m_pCtrl)
        return;
    CDTdxAction action = m_pCtrl->CreateAction(QStringLiteral("ParagraphShape"));
    CDTdxParameterSet set = action.CreateSet();
    action.GetDefault(set);
    const long old = set.GetItemLong(QStringLiteral("Indentation"));
    // Outdenting stops at the margin: an indentation of 0 or less is written back unchanged.
    const long changed = indent ? old + kIndentStep : (old > 0 ? old - kIndentStep : old);
    set.SetItem(QStringLiteral("Indentation"), qlonglong(changed));
    action.Execute(set);
}

void CLindarDoc::IndentParagraph() { ChangeIndentation(true); }
void CLindarDoc::OutdentParagraph() { ChangeIndentation(false); }

void CLindarDoc::ApplyZoom(int ratio)
{
    if (!m_pCtrl)
        return;
    CDTdxParameterSet view = m_pCtrl->GetViewProperties();
    view.SetItem(QStringLiteral("ZoomType"), 0);
    view.SetItem(QStringLiteral("ZoomRatio"), ratio);
    m_pCtrl->SetViewProperties(view);
}

void CLindarDoc::ZoomIn()
{
    if (!m_pCtrl || m_nZoomRatio + kZoomStep > kMaxZoom)
        return;
    m_nZoomRatio += kZoomStep;
    ApplyZoom(m_nZoomRatio);
}

void CLindarDoc::ZoomOut()
{
    if (!m_pCtrl || m_nZoomRatio - kZoomStep < kMinZoom)
        return;
    m_nZoomRatio -= kZoomStep;
    ApplyZoom(m_nZoomRatio);
}

void CLindarDoc::ResetZoom() { ApplyZoom(kNormalZoom); }

void CLindarDoc::PasteClipboard()
{
    if (!m_pCtrl)
        return;
    QWidget* active = QApplication::activeWindow();
    if (!active || active == &m_frame) {
        m_pCtrl->RunAction(QStringLiteral("Paste"));
        return;
    }
    // Another window of ours has the keyboard (a floating pane, a viewer): it gets the
    // paste key itself, so the paste lands where the user is typing.
    QWidget* target = active->focusWidget() ? active->focusWidget() : active;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(target, &press);
}

void CLindarDoc::ApplyStyleEntry(int index)
{
    if (!m_pCtrl)
        return;
    // Style pane entries by index: a style of the chapter's style list by its position, or a
    // paragraph command run by name.
    static const struct {
        int styleIndex; // -1: run the action instead
        const char* action;
    } kEntries[] = {
        {0, nullptr},  {1, nullptr},  {2, nullptr},  {3, nullptr},  {4, nullptr},
        {5, nullptr},  {6, nullptr},  {7, nullptr},  {8, nullptr},
        {-1, "ParagraphShapeAlignJustify"},       {-1, "ParagraphShapeAlignLeft"},
        {-1, "ParagraphShapeAlignRight"},         {-1, "ParagraphShapeAlignCenter"},
        {-1, "ParagraphShapeIncreaseLeftMargin"}, {-1, "ParagraphShapeDecreaseLeftMargin"},
        {-1, "PutParaNumber"},                    {-1, "PutBullet"},
        {9, nullptr},  {10, nullptr}, {11, nullptr},
    };
    if (index < 0 || index >= int(std::size(kEntries)))
        return;
    if (kEntries[index].action) {
        m_pCtrl->RunAction(QString::fromLatin1(kEntries[index].action));
        return;
    }
    CDTdxAction style = m_pCtrl->CreateAction(QStringLiteral("Style"));
    CDTdxParameterSet set = style.CreateSet();
    style.GetDefault(set);
    set.SetItem(QStringLiteral("Apply"), kEntries[index].styleIndex);
    style.Execute(set);
}

void CLindarDoc::UsePaperSize(bool a4)
{
    if (!m_pCtrl)
        return;
    CLindarView* view = GetView();
    if (!view)
        return;
    view->SetPagePreset(a4 ? CLindarView::PagePreset::A4 : CLindarView::PagePreset::Device);
    view->ApplyPageSetup();
    if (!a4)
        ResetZoom();
    m_frame.SetPaperFlags(a4);
}
