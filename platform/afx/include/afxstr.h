// Framework subset: CString.
#pragma once

#include "afxsub_string.h"
