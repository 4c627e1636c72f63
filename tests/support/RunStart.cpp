// What every test program does before its first test, linked into each of
// them whole (not picked from the support library only when referenced).
#include "RegistryScope.h"

#include <gtest/gtest.h>

namespace {

// A run that was killed could not undo its registry changes; they are undone
// here, before a test could read them.
class CLeftoverUndo : public ::testing::Environment
{
public:
    void SetUp() override { testing_support::UndoLeftoverRegistryChanges(); }
};

::testing::Environment* const g_leftoverUndo = ::testing::AddGlobalTestEnvironment(new CLeftoverUndo);

} // namespace
