// Resource ids shared by the test resource modules and the tests.
#pragma once

#define IDS_ONLY_IN_A 101      // in module A only
#define IDS_ONLY_IN_B 102      // in module B only (same string block as 101)
#define IDS_IN_BOTH 300        // different texts in A and B
#define IDS_EMPTY_IN_A 303     // empty in A, so A must not count as having it
#define IDS_TIP_ONLY_IN_A 500  // in module A, in a string block B lacks

#define IDR_DATA_IN_BOTH 200
