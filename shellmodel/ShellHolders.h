// Goes once drivetree/ includes "module/Holders.h" (and drops its own
// CChangeNotificationHandle); until then it leaves that name to drivetree.
#pragma once
#define TBU_DRIVETREE_DEFINES_CHANGE_NOTIFICATION_HANDLE
#include "module/Holders.h"
