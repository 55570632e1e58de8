// Resource and control identifiers of the editor.
#pragma once

// Icon, menu, accelerators
#define IDI_RQ57LOAD        1001
#define IDM_MAINMENU        1002
#define IDA_MAINACCEL       1051

// Menu commands
#define IDM_FILE_NEW        1003
#define IDM_FILE_SAVE       1004
#define IDM_FILE_WRITE      1005
#define IDM_FILE_OPEN       1006
#define IDM_FILE_READ       1007
#define IDM_FILE_EXIT       1008
#define IDM_HELP_ABOUT      1009
#define IDM_EDIT_UNDO       1010
#define IDM_EDIT_REDO       1011
#define IDM_EDIT_CUT        1012
#define IDM_EDIT_COPY       1013
#define IDM_EDIT_PASTE      1014
#define IDM_EDIT_CLEAR      1015
#define IDM_TOOLS_KEY_TESTER 1020
#define IDM_TOOLS_BACKUP    1021
#define IDM_TOOLS_COMPARE   1022
#define IDM_TOOLS_CHECK     1023
#define IDM_TOOLS_CHART     1024
#define IDM_TOOLS_ASSIGN_KEYS 1025
// The key buttons' context menu; its other items are the Edit menu's
#define IDM_CELL_MENU       1030
#define IDM_CELL_SELECT_KEY 1031

// About box
#define IDD_ABOUT           1500
#define IDC_ABOUT_TEXT      1501

// Progress window
#define IDD_PROGRESS        1600
#define IDC_PROGRESS_TEXT   1601

// Key Tester
#define IDD_KEY_TESTER      1700
#define IDC_TESTER_LIST     1701
#define IDC_TESTER_CLEAR    1702

// The tool windows that list lines (Compare with RQ57, Check Configuration)
#define IDD_LIST_WINDOW     1710
#define IDC_LIST_LINES      1711

// Assign Keys by Typing
#define IDD_ASSIGN_KEYS     1720
#define IDC_ASSIGN_NEXT     1721
#define IDC_ASSIGN_LIST     1722
#define IDC_ASSIGN_SKIP     1723
#define IDC_ASSIGN_BACK     1724
#define IDC_ASSIGN_NOT_USED 1725

// Key selection dialog: key buttons are IDC_KEY_BASE + key number,
// "Not Used" is IDC_KEY_BASE itself.
#define IDD_SELECT_KEY      1999
#define IDC_KEY_BASE        2000
#define IDC_KEY_LAST        2127
#define IDC_MOD_ALT         2200
#define IDC_MOD_SHIFT       2201
#define IDC_MOD_CTRL        2202

// Version resource
#define IDV_VERSION         1
