#pragma once

// Templates and controls of the dialog tests, clear of the program's own ids.
#define IDD_TEST_CONTROLS 9000
#define IDD_TEST_MISSING 9099  // deliberately not in the resources

#define IDC_TEST_LIST 9101
#define IDC_TEST_LABEL 9102
#define IDC_TEST_DRAWN 9103
#define IDC_TEST_PUSH 9104
#define IDC_TEST_SCROLL 9105
