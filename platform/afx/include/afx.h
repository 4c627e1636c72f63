// Framework subset: the core classes (CObject, exceptions, CString,
// collections, CRect, CTime), as the framework's afx.h offers them.
#pragma once

#include "afxsub_base.h"
#include "afxsub_object.h"
#include "afxsub_except.h"
#include "afxsub_string.h"
#include "afxsub_coll.h"
#include "afxsub_types.h"
