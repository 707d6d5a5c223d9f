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

// The note list's own menu, and the deleted notes
#define IDR_LIST_MENU           3000
#define IDD_DELETED_NOTES       3001
#define IDC_DELETED_LIST        3002
#define ID_UNDO_DELETE          33000
#define ID_DELETED_NOTES        33001

// Private window messages
#define WM_NOTE_CHANGED         0x081A
// WM_NOTE_CHANGED's wParam: the note (lParam) changed, or is being deleted
#define NOTE_REFRESHED          0
#define NOTE_DELETED            1
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

// Options dialog: the global shortcuts, one row each (label, hotkey field,
// Win check box, state text), rows 4 ids apart
#define IDC_OPT_HOTKEY_GROUP    3400
#define IDC_OPT_NEWNOTE_LABEL   3401
#define IDC_OPT_NEWNOTE_KEY     3402
#define IDC_OPT_NEWNOTE_WIN     3403
#define IDC_OPT_NEWNOTE_STATE   3404
#define IDC_OPT_TOTOP_LABEL     3405
#define IDC_OPT_TOTOP_KEY       3406
#define IDC_OPT_TOTOP_WIN       3407
#define IDC_OPT_TOTOP_STATE     3408
#define IDC_OPT_HOTKEY_ROW_STEP 4

// Scheduling dialog (schedule.rc): the dialog, its two pages and their tabs
#define IDS_SCHED_PAGE          103
#define IDS_EVENT_PAGE          104
#define IDD_SCHED_PAGE          133
#define IDD_SCHEDULE            135
#define IDD_EVENT_PAGE          1544
#define IDC_SCHED_HELP          6
#define IDC_SCHED_DISABLE       1023

// Schedule page (133); its ids overlap the event page's
#define IDC_SP_MONTH_DAY        1000
#define IDC_SP_WHEN             1001
#define IDC_SP_EVERY            1004
#define IDC_SP_DAYS             1006
#define IDC_SP_MONTH_DAY_SPIN   1012
#define IDC_SP_DAYS_LABEL       1013
#define IDC_SP_ON_DAY           1014
#define IDC_SP_OF_MONTHS_LABEL  1015
#define IDC_SP_SUNDAY           1016
#define IDC_SP_JANUARY          1023
#define IDC_SP_START_TIME       1035
#define IDC_SP_WEEKDAYS         1036
#define IDC_SP_WEEKS            1037
#define IDC_SP_EVERY_LABEL      1039
#define IDC_SP_WEEKS_SPIN       1040
#define IDC_SP_DAYS_SPIN        1042
#define IDC_SP_ON_THE           1046
#define IDC_SP_ORDINAL          1048
#define IDC_SP_START_DATE       1049
#define IDC_SP_WEEKDAY          1050
#define IDC_SP_END_DATE         1051
#define IDC_SP_WEEKS_ON_LABEL   1052

// Reminder and alarm page (1544)
#define IDC_EP_SOUND_FILE       1007
#define IDC_EP_BROWSE           1008
#define IDC_EP_TEST             1009
#define IDC_EP_MINUTES          1010
#define IDC_EP_HOURS_SPIN       1011
#define IDC_EP_MINUTES_SPIN     1012
#define IDC_EP_DAYS_SPIN        1013
#define IDC_EP_DAYS             1014
#define IDC_EP_ALWAYS_DISPLAY   1015
#define IDC_EP_HOURS            1021
#define IDC_EP_ALARM            1022

// Backups
#define IDD_BACKUPS             3100
#define IDC_BACKUP_INTRO        3101
#define IDC_BACKUP_LIST         3102
#define ID_LIST_RESTORE_BACKUP  33100

// A note's colour and font
#define ID_NOTE_PAPER_FIRST     33200   // the papers of the Colour menu, in order
#define ID_NOTE_PAPER_LAST      33205
#define ID_NOTE_MORE_COLOURS    33206
#define ID_NOTE_FONT            33207
#define ID_NOTE_STYLE_DEFAULT   33208
// The Format menu's bold, italic, underline and strike-through, in the order
// of their format bits
#define ID_NOTE_FORMAT_FIRST    33210
#define ID_NOTE_FORMAT_LAST     33213
#define ID_NOTE_BULLETS         33214
#define ID_NOTE_CHECKLIST       33215
// Sent by a note window: make this note's look the look of new notes
// (lParam: the note's list position).
#define WM_NOTE_STYLE_DEFAULT   0x0824

// Find in the note list
#define IDC_FIND_EDIT           3300
#define IDC_FIND_CLOSE          3301
#define ID_LIST_FIND            33300

// Reminders: a note's Snooze submenu (its lengths in SnoozeChoice order),
// "Coming up", and the tray balloon's click.
#define ID_NOTE_SNOOZE_FIRST    33400
#define ID_NOTE_SNOOZE_LAST     33404
#define ID_COMING_UP            33410
#define IDD_COMING_UP           3400
#define IDC_COMING_UP_LIST      3401
#define IDC_COMING_UP_EMPTY     3402
