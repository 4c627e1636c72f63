// Resource ids shared by the test resource modules and the tests.
#pragma once

#define IDS_ONLY_IN_A 101      // in module A only
#define IDS_ONLY_IN_B 102      // in module B only (same string block as 101)
#define IDS_IN_BOTH 300        // different texts in A and B
#define IDS_FORMAT 301         // a format string, in A
#define IDS_REGISTRY_KEY 302   // a registry key name, in A
#define IDS_EMPTY_IN_A 303     // empty in A, so A must not count as having it
#define IDS_IN_EXTENSION 400   // in the extension module's own resources

#define IDR_DATA_IN_BOTH 200
#define IDR_DATA_ONLY_IN_B 201
