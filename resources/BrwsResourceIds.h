// Numbers of the resources in the language resource module TarkBrowserUtilRC.DLL.
// Code looks them up by number through the framework's resource search.
#pragma once

// Copy names
#define IDS_BRWS_COPY_NAME_FIRST      25168
#define IDS_BRWS_COPY_NAME_NUMBERED   25169

// File-operation error dialog and its messages (by operation: not found,
// not found or other problem, other problem only; each without and with the
// choice to go on)
#define IDD_BRWS_FILEOP_ERROR         25176
#define IDC_BRWS_FILEOP_FILES         25356
#define IDC_BRWS_FILEOP_MESSAGE       25357
#define IDC_BRWS_FILEOP_ICON          25359
#define IDS_BRWS_COPY_NOTFOUND        25554
#define IDS_BRWS_COPY_BOTH            25555
#define IDS_BRWS_COPY_OTHER           25556
#define IDS_BRWS_COPY_BOTH_ASK        25557
#define IDS_BRWS_COPY_NOTFOUND_ASK    25558
#define IDS_BRWS_COPY_OTHER_ASK       25559
#define IDS_BRWS_MOVE_NOTFOUND        25560
#define IDS_BRWS_MOVE_BOTH            25561
#define IDS_BRWS_MOVE_OTHER           25562
#define IDS_BRWS_MOVE_BOTH_ASK        25563
#define IDS_BRWS_MOVE_NOTFOUND_ASK    25564
#define IDS_BRWS_MOVE_OTHER_ASK       25565
#define IDS_BRWS_DELETE_NOTFOUND      25566
#define IDS_BRWS_DELETE_BOTH          25567
#define IDS_BRWS_DELETE_OTHER         25568
#define IDS_BRWS_DELETE_BOTH_ASK      25569
#define IDS_BRWS_DELETE_NOTFOUND_ASK  25570
#define IDS_BRWS_DELETE_OTHER_ASK     25571
#define IDS_BRWS_RENAME_NOTFOUND      25572
#define IDS_BRWS_RENAME_BOTH          25573
#define IDS_BRWS_RENAME_OTHER         25574
#define IDS_BRWS_RENAME_BOTH_ASK      25575
#define IDS_BRWS_RENAME_NOTFOUND_ASK  25576
#define IDS_BRWS_RENAME_OTHER_ASK     25577
#define IDS_BRWS_HOSTOP_NOTFOUND      25578
#define IDS_BRWS_HOSTOP_NOTFOUND_ASK  25579

// New folders
#define IDS_BRWS_NEW_FOLDER_NAME      25172
#define IDS_BRWS_NEW_FOLDER_NUMBERED  25173

// Browse-for-folder dialog: template, controls, button icons, menu and its
// commands, tooltips and messages
#define IDD_BRWS_FOR_FOLDER           25175
#define IDC_BRWS_FOLDER_TREE          25113
#define IDC_BRWS_FOLDER_PROMPT        25114
#define IDC_BRWS_FOLDER_FIELD         25115
#define IDC_BRWS_NEW_FOLDER           25116
#define IDC_BRWS_LOCATE               25117
#define IDC_BRWS_SPECIAL_FOLDERS      25118
// The sizing grip of both resizable dialogs (this one and remove favourites).
#define IDC_BRWS_SIZE_GRIP            25119
#define IDR_BRWS_SPECIAL_FOLDERS      25976
// Button icons, each with 16, 24, 32 and 48 pixel images.
#define IDI_BRWS_NEW_FOLDER           25977
#define IDI_BRWS_LOCATE               25978
#define IDI_BRWS_SPECIAL_FOLDERS      25979
#define ID_BRWS_GOTO_DOCUMENTS        25076
#define ID_BRWS_GOTO_TEMP             25077
#define ID_BRWS_ADD_FAVORITE          25078
#define ID_BRWS_REMOVE_FAVORITES      25079
// Placeholders of the menu: the extra folders' popup, and the separators that
// end the extra folders, the documents and temporary places, the favourites.
#define ID_BRWS_EXTRA_FOLDERS         25080
#define ID_BRWS_EXTRA_FOLDERS_END     25081
#define ID_BRWS_PLACES_END            25082
#define ID_BRWS_FAVORITES_END         25083
#define IDS_BRWS_TIP_LOCATE           25550
#define IDS_BRWS_TIP_SPECIAL_FOLDERS  25552
#define IDS_BRWS_TIP_NEW_FOLDER       25553
#define IDS_BRWS_TIP_FOLDER_FIELD     25580
#define IDS_BRWS_NOT_FILE_SYSTEM      25585
#define IDS_BRWS_NEW_FOLDER_FAILED    25586
#define IDS_BRWS_FOLDER_PROMPT        25587
#define IDS_BRWS_TREE_SEARCHING       25588
#define IDS_BRWS_TREE_NOT_AVAILABLE   25589

// Remove-favourites dialog
#define IDD_BRWS_REMOVE_FAVORITES     25177
#define IDC_BRWS_FAVORITES_LIST       25358
