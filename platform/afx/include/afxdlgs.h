// Framework subset: dialogs; everything is in afxwin.h already.
#pragma once

#include "afxwin.h"
