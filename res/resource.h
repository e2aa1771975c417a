/* Resource and control ids of lumeview, shared by the code, the resource
   script and the artwork script. The numbers are fixed: the print side,
   the help file and the templates depend on them. */
#ifndef LUMEVIEW_RESOURCE_H
#define LUMEVIEW_RESOURCE_H

/* Version block */
#define IDV_VERSION 1

/* Dialog templates: the panel and options pair of each language.
   Only the French (Canada) pair 134/133 is loaded. */
#define IDD_PANEL_EN_US 101
#define IDD_OPTIONS_EN_US 112
#define IDD_PANEL_FR_FULL 113
#define IDD_OPTIONS_FR_FULL 114
#define IDD_PANEL_PT_BR 115
#define IDD_OPTIONS_PT_BR 132
#define IDD_PANEL_ES_MX 116
#define IDD_OPTIONS_ES_MX 118
#define IDD_STATUS_PANEL 134
#define IDD_OPTIONS 133
#define IDD_PANEL_DE 135
#define IDD_OPTIONS_DE 136
#define IDD_PANEL_IT 137
#define IDD_OPTIONS_IT 138
#define IDD_PANEL_NL 139
#define IDD_OPTIONS_NL 140
#define IDD_PANEL_FR 141
#define IDD_OPTIONS_FR 142
#define IDD_PANEL_RU 143
#define IDD_OPTIONS_RU 144
#define IDD_PANEL_CS 145
#define IDD_OPTIONS_CS 146
#define IDD_PANEL_HU 148
#define IDD_OPTIONS_HU 147
#define IDD_PANEL_PL 149
#define IDD_OPTIONS_PL 150
#define IDD_PANEL_DA 151
#define IDD_OPTIONS_DA 152
#define IDD_PANEL_FI 153
#define IDD_OPTIONS_FI 154
#define IDD_PANEL_NB 155
#define IDD_OPTIONS_NB 156
#define IDD_PANEL_SV 157
#define IDD_OPTIONS_SV 158

/* Bitmaps: device pictures by state, without and with /P, and the logos */
#define IDB_READY 103
#define IDB_WARNING 127
#define IDB_ERROR 126
#define IDB_READY_FEEDER 118
#define IDB_WARNING_FEEDER 119
#define IDB_ERROR_FEEDER 117
#define IDB_LOGO 133
#define IDB_LOGO_EN 111
#define IDB_VARIANT_A_READY 120
#define IDB_VARIANT_A_ERROR 121
#define IDB_VARIANT_A_WARNING 122
#define IDB_VARIANT_B_ERROR 123
#define IDB_VARIANT_B_READY 124
#define IDB_VARIANT_B_WARNING 125
#define IDB_VARIANT_C_READY 159
#define IDB_VARIANT_C_WARNING 160
#define IDB_VARIANT_C_ERROR 161

/* Icon groups: window icons by state, then the panel's state icons */
#define IDI_DEVICE_READY 102
#define IDI_DEVICE_WARNING 104
#define IDI_DEVICE_ERROR 105
#define IDI_STATE_BLANK 106
#define IDI_STATE_WARNING 107
#define IDI_STATE_ERROR 108

/* Accelerators and commands */
#define IDA_MAIN 130
#define IDM_CONTEXT_HELP 40001
/* The notification-area icon's menu: "Afficher", "Fermer" */
#define IDM_TRAY_SHOW 40002
#define IDM_TRAY_CLOSE 40003

/* Status panel controls */
#define IDC_PANEL_CLOSE 2 /* IDCANCEL: Escape closes the monitor */
#define IDC_PANEL_HELP 9  /* IDHELP */
#define IDC_QUEUE_BUTTON 1000
#define IDC_CANCEL_JOB 1001
#define IDC_DEVICE_PICTURE 1002
#define IDC_STATE_ICON 1003
#define IDC_PROPERTIES 1004
#define IDC_OPTIONS 1005
#define IDC_STATUS_TEXT 1006
#define IDC_DOCUMENT_NAME 1010
#define IDC_PAGES_TEXT 1011
#define IDC_PROGRESS_BAR 1012
#define IDC_LOGO 1014
#define IDC_PANEL_GROUP 1015
#define IDC_DOCUMENT_LABEL 1016
#define IDC_PAGES_LABEL 1017
#define IDC_PERCENT_LABEL 1018
#define IDC_JOB_STATE_LABEL 1019
#define IDC_SEPARATOR -1

/* Options dialog controls */
#define IDC_OPTIONS_OK 1
#define IDC_OPTIONS_CANCEL 2
#define IDC_MODE_WHILE_PRINTING 1019
#define IDC_MODE_ALWAYS 1020
#define IDC_MODE_OFF 1021
#define IDC_ALERT_CHECK 1022
#define IDC_NOTIFY_GROUP 1023

/* WinHelp context numbers of the help file: the Help button's topic of
   each device state, then F1's topics of the panel and the options dialog,
   each window's own topic first, for the focus on none of its controls */
#define IDH_STATE_READY 502
#define IDH_STATE_WARNING 503
#define IDH_STATE_ERROR 504
#define IDH_STATUS_PANEL 3107
#define IDH_QUEUE_BUTTON 3108
#define IDH_PROPERTIES 3109
#define IDH_OPTIONS 3110
#define IDH_CANCEL_JOB 3111
#define IDH_PANEL_CLOSE 3112
#define IDH_PANEL_HELP 3113
#define IDH_OPTIONS_DIALOG 3001
#define IDH_NOTIFY_MODE 3002
#define IDH_ALERT_CHECK 3003
#define IDH_OPTIONS_OK 3004
#define IDH_OPTIONS_CANCEL 3005

#endif
