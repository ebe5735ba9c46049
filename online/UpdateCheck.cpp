#include "online/UpdateCheck.h"

#include "online/UpdateDlg.h"
#include "online/UpdateServer.h"
#include "online/UpdateServerRequest.h"

UpdateCheckResult CheckForUpdate(quint32& statusCode, CUpdateDlg& dlg)
{
    using Outcome = UpdateServerAnswer::Outcome;
    const UpdateServerAnswer answer = RequestFromUpdateServer(QString::fromLatin1(kVersionTextPath));
    switch (answer.outcome) {
    case Outcome::NoConnection:
        return UPDATE_NO_CONNECTION;
    case Outcome::NoRequest:
        return UPDATE_NO_REQUEST;
    case Outcome::ClientError:
        return UPDATE_NET_ERROR;
    case Outcome::NotSent:
        break; // no status to report, and no text: the field count decides
    case Outcome::Answered:
        statusCode = answer.statusCode;
        if (statusCode != 200)
            return UPDATE_BAD_STATUS;
        break;
    }

    QStringList& fields = dlg.Fields();
    fields += SplitServerFields(DecodeServerText(answer.body, ServerTextEncoding::Utf8));
    if (fields.size() != 4)
        return UPDATE_BAD_ANSWER;

    // Compared as text on purpose, as the server's version texts have always been:
    // "0.9.10.0" sorts before "0.9.3.0" and is not offered.
    if (QString::compare(kBuiltInVersion, fields.at(0), Qt::CaseSensitive) < 0) {
        fields.append(kBuiltInVersion);
        return UPDATE_AVAILABLE;
    }
    return UPDATE_CURRENT;
}
