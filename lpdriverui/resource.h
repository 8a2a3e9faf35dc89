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
