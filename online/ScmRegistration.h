#pragma once
// Content registration: asks the update server whether its registration service is ready
// and, when the user agrees, hands back the registration page's address.
#include <QString>

class QWidget;

// The registration page's address, or empty text when nothing is to be opened. When the
// service is not ready, "서비스 준비중 입니다." is shown, owned by owner.
QString QueryScmRegistrationUrl(QWidget* owner);

// The main frame's "SCM 등록" command (32845): opens a registration address in the browser.
void OnScmRegistration(QWidget* mainFrame);
