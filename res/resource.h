// Resource ids shared by the resource script and the code.
#pragma once

// System menu command (low four bits free for the system)
#define IDM_ABOUTBOX 0x0010

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_QM7XX_DIALOG 102
#define IDD_PORT 130
#define IDD_UNITS 131
#define IDD_RECORD_SETTINGS 132
#define IDD_SPLASH 134
#define IDD_ADVERT 157
#define IDD_EXTRA_SETTINGS 159
#define IDD_PORT_WAIT 318
#define IDD_CHART 160

// String table
#define IDS_ABOUTBOX 101
#define IDS_BAD_NUMBER_FORMAT 102

// Icon, menu, bitmaps
#define IDR_MAINFRAME 128
#define IDR_MENU 129
#define IDB_ABOUT 133
#define IDB_SPLASH 135
#define IDB_PORT_WAIT 310

// Controls of the main window
#define IDC_PANEL1 1004
#define IDC_PANEL2 1005
#define IDC_STATUS 1018

// Menu commands of the main window
#define ID_VIEW_FONT 32772
#define ID_VIEW_BACKGROUND_COLOUR 32773
#define ID_VIEW_TEXT_COLOUR 32774
#define ID_VIEW_UNITS 32775
#define ID_SETTINGS_RECORDING 32776
#define ID_PORT_SELECT 32777
#define ID_APP_EXIT 32778
#define ID_HELP_ABOUT 32779
#define ID_HELP_CONTENTS 32780
#define ID_VIEW_TOPMOST 32782
#define ID_HELP_QMX 32783
#define ID_SETTINGS_EXTRA 32784
#define ID_VIEW_CHART 32790

// Controls of the port selection dialog
#define IDC_PORT_LIST 1003
#define IDC_PORT_IN_USE 1008

// The advert page (RTF), under the advert dialog's id
#define IDR_ADVERT_PAGE 157

// Controls of the advert dialog and of the additional settings
#define IDC_ADVERT_PAGE 1076
#define IDC_ADVERT_LINK 1130
#define IDC_NO_ADVERT_AT_START 1131

// Controls of the wait dialog shown while the ports are scanned
#define IDC_WAIT_CANCEL 1028
#define IDC_WAIT_PICTURE 1112
#define IDC_WAIT_MESSAGE 1238

// Controls of the units dialog
#define IDC_UNITS_METER_UNIT 1005
#define IDC_UNITS_DEVICE_UNITS 1006
#define IDC_UNITS_SHOW_LABEL 1007
#define IDC_UNITS_K 1019
#define IDC_UNITS_TO_WM2 1021
#define IDC_UNITS_TO_KLX 1022
#define IDC_UNITS_FORMULA 1023
#define IDC_UNITS_K_LABEL 1024

// Controls of the recording settings dialog
#define IDC_RECORD_ON 1009
#define IDC_RECORD_PATH 1010
#define IDC_RECORD_BROWSE 1011
#define IDC_RECORD_INTERVAL 1012
#define IDC_RECORD_PATH_LABEL 1015
#define IDC_RECORD_SEP_LABEL 1016
#define IDC_RECORD_INTERVAL_LABEL 1017
#define IDC_RECORD_CHANNEL1 1025
#define IDC_RECORD_CHANNEL2 1026
#define IDC_RECORD_SEP_TAB 1027
#define IDC_RECORD_SEP_COMMA 1028
#define IDC_RECORD_SEP_SEMICOLON 1029

// Controls of the chart window
#define IDC_CHART_SPAN_LABEL 1300
#define IDC_CHART_SPAN 1301
#define IDC_CHART_RESET 1302
#define IDC_CHART_SAVE 1303
#define IDC_CHART_VIEW 1304
#define IDC_CHART_GROUP1 1305
#define IDC_CHART_GROUP2 1306
// The statistics texts, made by the window itself: 1400 .. 1479 (see chart/ChartWnd.h)
#define IDC_CHART_TEXTS 1400
