// Framework subset: the common controls (image lists, tree control, tooltips).
#pragma once

#include "afxwin.h"
#include "afxsub_cmnctl.h"
