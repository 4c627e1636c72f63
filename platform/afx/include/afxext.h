// Framework subset: extensions of the window layer; for now the same as afxwin.h.
#pragma once

#include "afxwin.h"
