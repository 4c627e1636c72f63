// Numbers of the resources in the language resource module TarkBrowserUtilRC.DLL.
// Code looks them up by number through the framework's resource search.
#pragma once

// Copy names
#define IDS_BRWS_COPY_NAME_FIRST      25168
#define IDS_BRWS_COPY_NAME_NUMBERED   25169

// New folders
#define IDS_BRWS_NEW_FOLDER_NAME      25172
#define IDS_BRWS_NEW_FOLDER_NUMBERED  25173
