// Resource and command identifiers, shared by the .rc script, the program and its tests.
#pragma once

// Dialog template, menu and icon.
#define IDD_AUTOLOGON 101
#define IDR_PLACEHOLDER_MENU 113
#define IDI_PROGRAM 117

// Controls of the auto-logon dialog, in template order.
#define IDC_PASSWORD 1035
#define IDC_SET 122
#define IDC_REMOVE 121
#define IDC_ESC 1030
#define IDC_DOMAIN 1033
#define IDC_USER 1034
#define IDC_HIDDEN_OK 1 /* IDOK */
#define IDC_LINK 1032
#define IDC_PASSWORD_CAPTION 1036
#define IDC_UNNAMED (-1)

// Menu and other commands.
#define IDM_EXIT 1030
#define IDM_HOMEPAGE 40025
#define IDM_PRODUCT_PAGE 40026
#define IDM_DONATE 40027
#define IDM_USER_ACCOUNTS 40028
#define IDM_SCREEN_SAVER 40029
#define IDM_POWER_OPTIONS 40030
#define IDM_DYNAMIC_LOCK 40031

// Commands that store the Time setting: identifier minus IDM_TIME_BASE.
#define IDM_TIME_BASE 5000
#define IDM_TIME_FIRST 5001
#define IDM_TIME_LAST 5064
// Menu items whose check mark shows the Time setting.
#define IDM_TIME_MARK_FIRST 5005
#define IDM_TIME_MARK_LAST 5062
