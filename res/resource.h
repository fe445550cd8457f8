#pragma once
// Identifiers shared by the resource script and the code.

#define IDI_TAVELIN 1
#define IDR_MAINMENU 100
#define IDB_FOLDER 101
#define IDB_FOLDER_20 102
#define IDB_FOLDER_24 103
#define IDB_FOLDER_32 104

#define IDM_SEARCH_FOLDER 1001
#define IDM_PELLARIX 1002
#define IDM_EXIT 1003
