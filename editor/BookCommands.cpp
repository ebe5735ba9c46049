#include "editor/BookCommands.h"

#include "editor/CommandIds.h"
#include "editor/CommandTable.h"
#include "editor/DTdxCtrl0.h"
#include "editor/LindarDoc.h"
#include "editor/MainFrame.h"
#include "online/ScmRegistration.h"

#include <QHash>

#include <functional>

bool RunControlActionCommand(int id, CLindarDoc& document)
{
    const CommandRow* row = CCommandTable::Find(id);
    if (!row || row->action.isEmpty())
        return false;
    if (document.m_pCtrl)
        document.m_pCtrl->RunAction(row->action); // the control's result is not the user's matter
    return true;
}

bool RunEditingCommand(int id, CLindarDoc& document)
{
    using Operation = std::function<void(CLindarDoc&)>;
    static const QHash<int, Operation> operations{
        {cmd::FitImages, [](CLindarDoc& doc) { doc.FitImagesToPaper(true); }},
        {cmd::Indent, &CLindarDoc::IndentParagraph},
        {cmd::Outdent, &CLindarDoc::OutdentParagraph},
        {cmd::ZoomIn, &CLindarDoc::ZoomIn},
        {cmd::ZoomOut, &CLindarDoc::ZoomOut},
        {cmd::Paste, &CLindarDoc::PasteClipboard},
        {cmd::PaperA4, [](CLindarDoc& doc) { doc.UsePaperSize(true); }},
        {cmd::PaperDevice, [](CLindarDoc& doc) { doc.UsePaperSize(false); }},
    };
    const auto found = operations.find(id);
    if (found == operations.end())
        return false;
    found.value()(document);
    return true;
}

bool RunBookFileCommand(int id, CMainFrame& frame, CLindarDoc& document)
{
    switch (id) {
    case cmd::SaveBook:
        document.OnFileSave();
        return true;
    case cmd::SaveBookAs:
        document.OnFileSaveAs();
        return true;
    case cmd::CloseWindow:
        document.CloseBook(); // may destroy the document
        return true;
    case cmd::ScmRegistration:
        OnScmRegistration(&frame);
        return true;
    default:
        return false;
    }
}
