#pragma once
// Resource and command numbers. Shared by the resource scripts and the code.

// Dialogs
#define IDD_ABOUTBOX            100
#define IDD_MAIN                102
#define IDD_TEXT                134

// Icons, bitmaps, cursors
#define IDR_MAINFRAME           128
#define IDC_HAND_CURSOR_ABOUT   129
#define IDB_SPLASH              131
#define IDB_TRAY_BANNER         138
#define IDI_TRAY                140
#define IDB_LISTICONS           144
#define IDB_HELP_TOPICS_ITEM    149
#define IDB_VIEW_LIST_ITEM      150
#define IDB_HELP_BANNER         151
#define IDC_HAND_MOVE           155

// Menus
#define IDR_NOTE_MENU           143
#define IDR_TRAY_MENU           152
#define IDR_HELP_MENU           153

// Strings
#define IDS_ABOUTBOX            101

// Controls
#define IDC_NOTE_LIST           1000
#define IDC_NOTE_EDIT           1016

// Note window commands
#define ID_NOTE_HIDE            32779
#define ID_NOTE_SCHEDULE        32783
#define ID_NOTE_DELETE          32787
#define ID_NOTE_ONTOP           32788

// Main window commands
#define IDM_ABOUTBOX            16
#define ID_APP_EXIT_CMD         32772
#define ID_VIEW_NOTE_LIST       32774
#define ID_ADD_NOTE             32785
#define ID_OPTIONS              32787
#define ID_HELP_CMD             32789
#define ID_HELP_TOPICS          32790
#define ID_BRING_TO_TOP         32791
#define ID_SHOW_ALL             32793
#define ID_HIDE_ALL             32795
#define ID_WEB_SITE             32796
#define ID_HELP_ABOUT           32797
#define ID_HELP                 57670

// Private window messages
#define WM_NOTE_CHANGED         0x081A
#define WM_TRAYNOTIFY           0x0464
#define WM_SCHED_DISABLE        0x07E8

// Options dialog, About box, splash
#define IDB_OPTIONS_BANNER      134
#define IDD_OPTIONS             149
#define IDC_OPT_GROUP           1002
#define IDC_ABOUT_LINK          1009
#define IDC_OPT_AUTORUN         1011
#define IDC_ABOUT_TEXT          1018
#define IDC_OPT_OK              1023
#define IDC_OPT_CANCEL          1024
