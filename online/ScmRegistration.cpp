#include "online/ScmRegistration.h"

#include "online/ApplicationTitle.h"
#include "online/UpdateServer.h"
#include "online/UpdateServerRequest.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Shell.h"

#include <QStringList>

QString QueryScmRegistrationUrl(QWidget* owner)
{
    using Outcome = UpdateServerAnswer::Outcome;
    const UpdateServerAnswer answer = RequestFromUpdateServer(QString::fromLatin1(kScmReadyTextPath));
    if (answer.outcome == Outcome::ClientError)
        return {};

    bool notReady = true;
    if (answer.outcome == Outcome::Answered && answer.statusCode == 200) {
        const QStringList fields = SplitServerFields(DecodeServerText(answer.body, ServerTextEncoding::Local8Bit));
        if (fields.size() >= 2 && fields.at(0) == QLatin1String("SCM_READY_OK")) {
            const platform::MessageResult choice = platform::ShowMessage(
                QStringLiteral("SCM서버에 접속하시겠습니까?\n - 접속후 판매할 컨텐츠를 등록 해주십시요."), ApplicationTitle(),
                platform::MessageButtons::YesNo, platform::MessageIcon::Information);
            if (choice == platform::MessageResult::Yes)
                return fields.at(1);
            notReady = false;
        }
    }
    if (notReady)
        platform::ShowMessage(QStringLiteral("서비스 준비중 입니다."), ApplicationTitle(), platform::MessageButtons::Ok,
                              platform::MessageIcon::None, owner);
    return {};
}

void OnScmRegistration(QWidget* mainFrame)
{
    const QString address = QueryScmRegistrationUrl(mainFrame);
    if (!address.isEmpty())
        platform::ShellOpen(address);
}
