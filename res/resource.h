#pragma once
// Resource identifiers shared by the resource script and the code.

#define IDR_MAINFRAME 128      // application icon
#define IDS_ABOUTBOX 101       // "&About tavrel..." system-menu item
#define IDD_TAVREL_DIALOG 102  // the form dialog
#define IDD_FAKECONSOLE 130    // the console window
#define IDD_CONFIG 131         // configuration and quick start
#define IDD_RUN_HISTORY 132    // a form's run history
#define IDD_PRESET_NAME 133    // naming a preset to save or delete
#define IDR_QUICKSTART 1013    // quick-start RTF (RCDATA)

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Console window
#define IDC_CONSOLE_OUTPUT 1004

// Configuration dialog
#define IDC_GROW_LEFT 1006
#define IDC_GROW_RIGHT 1007
#define IDC_ASSOC_GUI 1008
#define IDC_ASSOC_GUI_ADMIN 1009
#define IDC_OPEN_WEBSITE 1010
#define IDC_OPEN_MANUAL 1011
#define IDC_QUICKSTART 1012
#define IDC_HIDE_FLAGS 1013
#define IDC_HIDE_RUN_WITH_BUTTONS 1014
#define IDC_REMEMBER_VALUES 1015

// Run history window
#define IDC_HISTORY_LIST 1020
#define IDC_HISTORY_RUN_AGAIN 1021

// Preset name dialog
#define IDC_PRESET_PROMPT 1022
#define IDC_PRESET_NAME 1023
