// Framework subset: the collection classes (CList, CArray and their named forms).
#pragma once

#include "afx.h"
