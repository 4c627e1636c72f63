// Framework subset: synchronisation; for now only the core classes.
#pragma once

#include "afx.h"
