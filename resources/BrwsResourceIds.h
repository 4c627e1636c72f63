// Numbers of the resources in the language resource module TarkBrowserUtilRC.DLL.
// Code looks them up by number through the framework's resource search.
#pragma once

// Copy names
#define IDS_BRWS_COPY_NAME_FIRST      25168
#define IDS_BRWS_COPY_NAME_NUMBERED   25169

// New folders
#define IDS_BRWS_NEW_FOLDER_NAME      25172
#define IDS_BRWS_NEW_FOLDER_NUMBERED  25173

// Browse-for-folder dialog: template, controls, button strips, menu and its
// commands, tooltips and messages
#define IDD_BRWS_FOR_FOLDER           25175
#define IDC_BRWS_FOLDER_TREE          25113
#define IDC_BRWS_FOLDER_PROMPT        25114
#define IDC_BRWS_FOLDER_FIELD         25115
#define IDC_BRWS_NEW_FOLDER           25116
#define IDC_BRWS_LOCATE               25117
#define IDC_BRWS_SPECIAL_FOLDERS      25118
#define IDB_BRWS_BUTTONS_LARGE        25974
#define IDB_BRWS_BUTTONS_SMALL        25975
#define IDR_BRWS_SPECIAL_FOLDERS      25976
#define ID_BRWS_GOTO_DOCUMENTS        25076
#define ID_BRWS_GOTO_TEMP             25077
#define ID_BRWS_ADD_FAVORITE          25078
#define ID_BRWS_REMOVE_FAVORITES      25079
#define IDS_BRWS_TIP_LOCATE           25550
#define IDS_BRWS_TIP_SPECIAL_FOLDERS  25552
#define IDS_BRWS_TIP_NEW_FOLDER       25553
#define IDS_BRWS_TIP_FOLDER_FIELD     25580
#define IDS_BRWS_NOT_FILE_SYSTEM      25585
#define IDS_BRWS_NEW_FOLDER_FAILED    25586
#define IDS_BRWS_FOLDER_PROMPT        25587

// Remove-favourites dialog
#define IDD_BRWS_REMOVE_FAVORITES     25177
#define IDC_BRWS_FAVORITES_LIST       25358
