// The module's one extension-module record, shared by the module's own code.
#pragma once

#include <afxwin.h>
#include <afxdllx.h>

AFX_EXTENSION_MODULE& BrwsUtilExtensionModule();
