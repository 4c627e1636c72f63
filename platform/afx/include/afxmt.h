// Framework subset: synchronisation objects (events, mutexes, critical
// sections, the single lock).
#pragma once

#include "afx.h"
#include "afxsub_sync.h"
