// Resource identifiers of the plug-in module, shared by the resource script and the code.
#pragma once

#define IDR_KXFVERIFIERPLUGIN 101
#define IDR_PPGKXFVERIFIER 105

// The version of the module, for the version resource and the About box.
#define KXF_VERSION_MAJOR 5
#define KXF_VERSION_MINOR 5
#define KXF_VERSION_MAINTENANCE 0
#define KXF_VERSION_BUILD 244

#define IDD_ABOUTBOX 101
#define IDD_PPGKXFVERIFIER 106

// Controls of the settings page and of the About box.
#define IDC_TAG_LIST 111
#define IDC_ABOUT 114
#define IDC_TAG_GROUP 205
#define IDC_PRODUCT_LINE 1001
#define IDC_LEGAL_NOTICE 1004

#define IDB_ABOUT_BANNER 400
#define IDB_ABOUT_LOGO 401

#define IDS_PROJECT_NAME 100
#define IDS_PAGE_TITLE 102
#define IDS_HELP_FILE 103
#define IDS_PAGE_DOC_STRING 104
#define IDS_SELECT_TAGS 105
#define IDS_NO_ACTIVE_DOCUMENT 106
#define IDS_NO_KXF_DOCUMENT 107
#define IDS_ORIGINAL_MISSING 108
#define IDS_NO_TEMPORARY_FILE 109
#define IDS_LEGAL_NOTICE 800
#define IDS_PRODUCT_LINE 804
