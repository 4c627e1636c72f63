// Framework subset: everything of the core plus the application, the module
// state and extension modules, and the window layer (windows, menus, dialogs,
// the standard controls, threads).
#pragma once

#include "afx.h"
#include "afxsub_app.h"
#include "afxsub_module.h"
#include "afxsub_wnd.h"
#include "afxsub_menu.h"
#include "afxsub_dialog.h"
#include "afxsub_controls.h"
#include "afxsub_thread.h"
