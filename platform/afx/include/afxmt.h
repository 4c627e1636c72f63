// Framework subset: synchronisation objects (the event).
#pragma once

#include "afx.h"
#include "afxsub_sync.h"
