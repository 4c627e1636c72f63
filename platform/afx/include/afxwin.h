// Framework subset: everything of the core plus the application, the module
// state and extension modules (the window classes join here later).
#pragma once

#include "afx.h"
#include "afxsub_app.h"
#include "afxsub_module.h"
