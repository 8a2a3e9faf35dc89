// Resource identifiers of the plug-in. Each page has a Chinese and an English template.
#pragma once

#define IDD_PRINTER_STATUS   109
#define IDD_LABELPAGE_CN     110
#define IDD_LABELPAGE_EN     113
#define IDD_QUERY_DEVICE     115
#define IDD_ABOUTPAGE_CN     116
#define IDD_PAPERMANAGER_CN  117
#define IDD_PAPERMANAGER_EN  119
#define IDD_ABOUTPAGE_EN     120

#define IDC_ABOUT_VERSION    1056

// Label setting page
#define IDC_EDIT_HOR         1036
#define IDC_EDIT_VER         1037
#define IDC_LBL_PAPERTYPE    1045
#define IDC_LBL_SPEED        1046
#define IDC_LBL_DENSITY      1047
#define IDC_LBL_PAPER        1048
#define IDC_RAD_GAP          1049
#define IDC_RAD_SERIAL       1050
#define IDC_RAD_BLACK        1051
#define IDC_CBO_SPEED        1052
#define IDC_CBO_DENSITY      1053
#define IDC_CBO_PAPER        1054
#define IDC_SPIN_HOR         1059
#define IDC_SPIN_VER         1060
#define IDC_ROTATE_0         1064
#define IDC_ROTATE_90        1065
#define IDC_ROTATE_180       1066
#define IDC_ROTATE_270       1067
#define IDC_BTN_PAPERMGR     1068

// Paper manager
#define IDC_PM_LIST          1069
#define IDC_PM_REMOVE        1070
#define IDC_PM_SAVE          1071
#define IDC_PM_NEW           1072
#define IDC_PM_NAME          1073
#define IDC_PM_METRIC        1074
#define IDC_PM_INCH          1075
#define IDC_PM_WIDTH         1077
#define IDC_PM_HEIGHT        1078
#define IDC_PM_TOP           1079
#define IDC_PM_BOTTOM        1080
#define IDC_PM_LEFT          1081
#define IDC_PM_RIGHT         1082
#define IDC_PM_SIZES_LABEL   1083
#define IDC_PM_NAME_LABEL    1084
#define IDC_PM_DIMENSIONS    1085
#define IDC_PM_UNIT_LABEL    1086
#define IDC_PM_WIDTH_LABEL   1087
#define IDC_PM_HEIGHT_LABEL  1088
#define IDC_PM_TOP_LABEL     1089
#define IDC_PM_BOTTOM_LABEL  1090
#define IDC_PM_LEFT_LABEL    1091
#define IDC_PM_RIGHT_LABEL   1092
