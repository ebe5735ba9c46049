#include "online/StartupUpdateCheck.h"

#include "online/ApplicationTitle.h"
#include "online/UpdateCheck.h"
#include "online/UpdateDlg.h"
#include "platform/core/MessageBox.h"
#include "platform/ui/ModalDialogs.h"

bool RunStartupUpdateCheck(QWidget* mainWindow)
{
    CUpdateDlg dlg(mainWindow);
    quint32 statusCode = 0;
    if (CheckForUpdate(statusCode, dlg) != UPDATE_AVAILABLE)
        return false;
    if (platform::RunModalDialog(dlg) == CUpdateDlg::kDownloadResult)
        return true;
    platform::ShowMessage(QStringLiteral("사용자에 의해서 업데이트가 취소되었습니다."), ApplicationTitle(),
                          platform::MessageButtons::Ok);
    return false;
}
