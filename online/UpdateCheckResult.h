#pragma once

enum UpdateCheckResult {
    UPDATE_AVAILABLE = 0,     // newer version; the dialog's field list holds five entries
    UPDATE_CURRENT = 1,       // the built-in version is not older
    UPDATE_NET_ERROR = 2,     // the internet client could not be started
    UPDATE_NO_CONNECTION = 3, // no connection could be set up
    UPDATE_NO_REQUEST = 4,    // no request could be set up
    UPDATE_BAD_STATUS = 5,    // the HTTP status was not 200
    UPDATE_BAD_ANSWER = 6,    // the answer did not hold exactly four fields, or none arrived
};
