#include "package/ePubMain.h"

CePubMain::CePubMain() = default;

CePubMain::~CePubMain() = default;
