// Identifiers of every resource and dialog control, shared by the resource
// script and the C++ code. Plain #defines only: the resource compiler reads
// this file too.
#ifndef ZVX_RES_RESOURCE_H
#define ZVX_RES_RESOURCE_H

// Dialog templates
#define IDD_ABOUT                100
#define IDD_DOMAIN_BROWSER       129
// Their font, 8-point MS Sans Serif, is 6 pixels wide per horizontal dialog
// base unit at 100% (96 DPI): what the dialogs' growth at other scales is
// measured against. Fonts come in other sizes for other DPIs, so that the
// width at 96 DPI cannot be measured there.
#define DIALOG_BASE_WIDTH_AT_100 6

// Icon group, accelerator table and string (the last two are never loaded)
#define IDI_APP                  128
#define IDR_ACCELERATORS         128
#define IDS_APP_NAME             128
// What the banners show, for screen readers
#define IDS_MAIN_BANNER          201
#define IDS_ABOUT_BANNER         208

// Button bitmaps: 24 bits, RGB(255, 0, 255) is the transparent key. 16 x 16
// under these ids; each drawn anew at 20, 24 and 32 pixels for 125%, 150%
// and 200% display scaling.
#define IDB_EXIT                 204
#define IDB_ABOUT                206
#define IDB_VISIT                207
#define IDB_EXIT_20              304
#define IDB_ABOUT_20             306
#define IDB_VISIT_20             307
#define IDB_EXIT_24              404
#define IDB_ABOUT_24             406
#define IDB_VISIT_24             407
#define IDB_EXIT_32              504
#define IDB_ABOUT_32             506
#define IDB_VISIT_32             507

// Banners, stored as resources of the custom type "JPEG". The resource
// compiler takes a custom type only as a bare name, C++ only as a string.
#define IDR_BANNER_MAIN          201
#define IDR_BANNER_ABOUT         208
// The same banners at twice the size, for display scaling above 100%
#define IDR_BANNER_MAIN_2X       211
#define IDR_BANNER_ABOUT_2X      218
#ifdef RC_INVOKED
#define RT_JPEG                  JPEG
#else
#define RT_JPEG                  "JPEG"
#endif

// Domain browser dialog controls; its Exit button is IDCANCEL
#define IDC_CODE_LIST            1000
#define IDC_DESCRIPTION_LIST     1001
#define IDC_VISIT                1002
#define IDC_MAIN_BANNER          1003

// About dialog controls
#define IDC_ABOUT_BANNER         1004
#define IDC_ABOUT_PRODUCT        1005
#define IDC_ABOUT_PROMO          1006
#define IDC_ABOUT_MAIL_CAPTION   1007
#define IDC_ABOUT_WEB_LINK       1008
#define IDC_ABOUT_MAIL_LINK      1009
#define IDC_ABOUT_RIGHTS         1010

// The About command of the main dialog (its About button)
#define ID_APP_ABOUT             0xE140

#endif
