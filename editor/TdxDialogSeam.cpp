#include "editor/TdxDialogSeam.h"

#include "components/tdx/DialogHooks.h"
#include "components/tdx/FileChooser.h"
#include "editor/EditorTexts.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/ModalDialogs.h"

void InstallTdxDialogSeam()
{
    tdx::DialogHooks hooks;
    hooks.runModal = [](QDialog& dialog) { return platform::RunModalDialog(dialog); };
    hooks.showModeless = [](QDialog& dialog) { platform::ShowModelessDialog(dialog); };
    hooks.message = [](QWidget* parent, const QString& text) {
        platform::ShowMessage(text, texts::AppTitle(), platform::MessageButtons::Ok,
                              platform::MessageIcon::Information, parent);
    };
    tdx::setDialogHooks(std::move(hooks));
    tdx::setFileChooser([](QWidget* parent, const QString& caption, const QString& filter) {
        platform::FileDialogRequest request;
        request.caption = caption;
        request.filter = filter;
        request.owner = parent;
        return platform::AskFileName(request);
    });
}
