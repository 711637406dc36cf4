// The program's version and names, in one place for the version block and
// the dialog texts. Plain #defines: the resource compiler reads this file.
#ifndef ZVX_RES_VERSION_H
#define ZVX_RES_VERSION_H

#define ZVX_VERSION_MAJOR        1
#define ZVX_VERSION_MINOR        0
#define ZVX_VERSION_PATCH        1
#define ZVX_VERSION_BUILD        0

#define ZVX_STRINGIZE_(x)        #x
#define ZVX_STRINGIZE(x)         ZVX_STRINGIZE_(x)
// As the version block wants them: 1,0,1,0 and "1, 0, 1, 0"
#define ZVX_VERSION_NUMBERS      ZVX_VERSION_MAJOR,ZVX_VERSION_MINOR,ZVX_VERSION_PATCH,ZVX_VERSION_BUILD
#define ZVX_VERSION_STRING       ZVX_STRINGIZE(ZVX_VERSION_MAJOR) ", " ZVX_STRINGIZE(ZVX_VERSION_MINOR) ", " \
                                 ZVX_STRINGIZE(ZVX_VERSION_PATCH) ", " ZVX_STRINGIZE(ZVX_VERSION_BUILD)
// The version as users see it in titles
#define ZVX_VERSION_SHORT        "1.01"

#define ZVX_COMPANY_NAME         "Veltrano software"
#define ZVX_PRODUCT_NAME         "Veltrano Zonarium"
#define ZVX_DESCRIPTION          "Complete information about top level domains"
#define ZVX_ORIGINAL_FILENAME    "zvx.exe"
#define ZVX_COPYRIGHT            "Copyright (C) 2026 Veltrano software. All rights reserved."
#define ZVX_TRADEMARKS           "Zonarium is a trademark of Veltrano software."

// "Veltrano Zonarium 1.01": the main dialog's title and the About box's
// product line begin with it
#define ZVX_TITLE                ZVX_PRODUCT_NAME " " ZVX_VERSION_SHORT

#endif
