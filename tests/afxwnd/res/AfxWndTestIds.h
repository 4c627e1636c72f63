// Resource numbers of the window-layer tests' resource module.
#pragma once

#define IDD_DATA 100
#define IDD_TREE 101
#define IDD_MISSING 199

#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_COMBO 1004
#define IDC_LIST 1005
#define IDC_PICTURE 1006
#define IDC_GO 1007
#define IDC_MEMO 1008
#define IDC_TREE 1101
#define IDC_NOT_THERE 1999

#define IDS_HELLO 2001
#define IDS_GO_TIP 2003

#define IDM_POPUP 300
#define ID_ITEM_FIRST 301
#define ID_ITEM_SECOND 302
#define ID_ITEM_THIRD 303

#define IDB_STRIP 400
