#pragma once
// Identifiers of the program's resources: menus, accelerators, pictures, the icon and the dialog
// templates with their controls. Shared by resources.rc and the code; plain #defines so that the
// resource compiler reads them too.

// The icon is named, not numbered: the shell takes the program's icon from "MAINICON".
#define IDI_MAINICON_NAME "MAINICON"

// Main menu MainMenu1.
#define IDM_MAINMENU1                      100
#define IDM_PREFERENCES1                   101  // "&File" > "&Preferences"
#define IDM_EXIT1                          102  // "&File" > "E&xit"
#define IDM_OPENCACHE1                     103  // "&Actions" > "&Open cache"
#define IDM_INTEGRATE1                     104  // "&Actions" > "&Integrate selected"
#define IDM_REGISTERUNINSTALLEDMUTATORS1   105  // "&Actions" > "Register uninstalled mutators"

// Context menu PopupMenu1 of the package list: its one sub-menu holds SelectAll1.
#define IDM_POPUPMENU1                     110
#define IDM_SELECTALL1                     111  // "Select &All\tCtrl+A"
#define IDM_SELECTALLOFTYPE1               600  // "Select All of This &Type": the row's kind
#define IDM_PREVIEWPANE1                   610  // "&View" > "&Preview Pane", off until turned on

// Accelerators of the main window: Ctrl+A sends IDM_SELECTALL1 (the window passes it on only
// while the list has the keyboard focus).
#define IDA_MAINACCELERATORS               120

// Pictures. List and menu images are 16x16; the two large buttons' are 24x24 and the dialog
// buttons' 16x16, magenta (255,0,255) transparent.
#define IDB_BULB_LIT                       200
#define IDB_BULB_UNLIT                     201
#define IDB_PLUS                           202
#define IDB_OPEN_CACHE                     203
#define IDB_INTEGRATE                      204
#define IDB_DEFAULT_PATHS                  205
#define IDB_SAVE                           206
#define IDB_CANCEL                         207
#define IDB_BULB_OTHER                     220  // a file of the name, another version, is installed

// The preferences dialog and its controls. Edits and their folder buttons are numbered in row
// order: the edit of row r (0..8) is IDC_PREFS_EDIT_FIRST + r, its button
// IDC_PREFS_BROWSE_FIRST + r, its label IDC_PREFS_LABEL_FIRST + r.
#define IDD_PREFERENCES                    300
#define IDC_PREFS_PATHS_PANEL              301
#define IDC_PREFS_PATHS_HEADING            302
#define IDC_PREFS_OPTIONS_PANEL            303
#define IDC_PREFS_OPTIONS_HEADING          304
#define IDC_CBREGMUTS                      305
#define IDC_CBPROMPTMUTS                   306
#define IDC_TBQUICKPATH                    307
#define IDC_TBSAVE                         308
#define IDC_TBCANCEL                       309
#define IDC_PREFS_LABEL_FIRST              310  // 310..318
#define IDC_PREFS_EDIT_FIRST               320  // 320..328: teSystem .. teCache
#define IDC_PREFS_BROWSE_FIRST             330  // 330..338
#define IDC_TESYSTEM                       320
#define IDC_TEMAPS                         321
#define IDC_TETEXTURES                     322
#define IDC_TESOUNDS                       323
#define IDC_TEMUSIC                        324
#define IDC_TEMESHES                       325
#define IDC_TEANIMATIONS                   326
#define IDC_TEKARMA                        327
#define IDC_TECACHE                        328

// The program's message box: an icon, the text and up to two buttons.
#define IDD_MESSAGE                        400
#define IDC_MESSAGE_ICON                   401
#define IDC_MESSAGE_TEXT                   402
#define IDC_MESSAGE_BUTTON1                403  // "OK" or "&Yes"
#define IDC_MESSAGE_BUTTON2                404  // "&No"

// What a cached package needs: the context menu's items and the details dialog.
#define IDM_SELECTNEEDED1                  500  // "Select &Needed Packages"
#define IDM_DETAILS1                       501  // "&Details..."
#define IDD_PACKAGE_DETAILS                510
#define IDC_DETAILS_TEXT                   511
#define IDC_DETAILS_PICTURE                512  // a map's screenshot, made when the dialog opens
// Exporting ticked packages and installing package files.
#define IDM_EXPORTSELECTED1                550  // "&Actions" > "E&xport selected..."
#define IDM_INSTALLFILES1                  551  // "&File" > "&Install package files..."
#define IDD_EXPORT                         560
#define IDC_EXPORT_FOLDER_LABEL            561
#define IDC_EXPORT_FOLDER                  562
#define IDC_EXPORT_BROWSE                  563
#define IDC_EXPORT_FORM_GROUP              564
#define IDC_EXPORT_LAYOUT                  565  // the three forms, in TExportForm's order
#define IDC_EXPORT_ZIP                     566
#define IDC_EXPORT_UZ2                     567
// Taking packages out of the cache.
#define IDM_REMOVEFROMCACHE1               650  // "&Remove from Cache\tDel" in the list's context menu
#define IDM_CLEANUPCACHE1                  651  // "&Actions" > "&Clean Up Cache..."
#define IDD_CLEANUP                        660
#define IDC_CLEANUP_ORPHANS                661  // the check boxes, each with its count and size
#define IDC_CLEANUP_MISSING                662
#define IDC_CLEANUP_INSTALLED              663
#define IDC_CLEANUP_ORPHANS_SIZE           664
#define IDC_CLEANUP_MISSING_SIZE           665
#define IDC_CLEANUP_INSTALLED_SIZE         666
#define IDC_CLEANUP_TOTALS                 667
#define IDC_CLEANUP_PURGE_TEXT             668
#define IDC_CLEANUP_NEVER_PURGE            669
#define IDC_CLEANUP_PURGE_NOTE             670
