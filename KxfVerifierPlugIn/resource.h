// Resource identifiers of the plug-in module, shared by the resource script and the code.
#pragma once

#define IDR_KXFVERIFIERPLUGIN 101
#define IDR_PPGKXFVERIFIER 105

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
