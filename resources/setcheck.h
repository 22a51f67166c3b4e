/* Resource ids of the set checker (SetCheck.exe), apart from setup's. */
#pragma once

/* what setup would refuse */
#define IDS_CHECK_NO_DESCRIPTION    1000
#define IDS_CHECK_NO_MODE           1001
#define IDS_CHECK_NO_VARIANT        1002
#define IDS_CHECK_NO_MODULE         1003
#define IDS_CHECK_LIST_TOO_LONG     1004
#define IDS_CHECK_CRITICAL_MISSING  1005

/* what would go wrong later */
#define IDS_CHECK_NAME_PARENT       1010
#define IDS_CHECK_NAME_DRIVE        1011
#define IDS_CHECK_NAME_PATH         1012
#define IDS_CHECK_NAME_DEVICE       1013
#define IDS_CHECK_VALUE_CUT         1014
#define IDS_CHECK_OTHER_NOT_LISTED  1015
#define IDS_CHECK_NO_SUBDIR         1016
#define IDS_CHECK_SUBDIR_OUTSIDE    1017
#define IDS_CHECK_NO_DISPLAYNAME    1018
#define IDS_CHECK_FLAGS_NOT_DIGITS  1019
#define IDS_CHECK_NOT_FOR_UNINSTALL 1020
#define IDS_CHECK_NAME_NOT_PLAIN    1021
#define IDS_CHECK_PLUGIN_UNPLACED   1022

/* warnings */
#define IDS_CHECK_NOT_LISTED        1030
#define IDS_CHECK_OPTIONAL_MISSING  1031
#define IDS_CHECK_LISTED_AGAIN      1032
#define IDS_CHECK_NO_MODULE_KEY     1033
#define IDS_CHECK_ICONIZE           1034
#define IDS_CHECK_ODD_SUFFIX        1035
#define IDS_CHECK_NO_VARIANT_FILE   1036
#define IDS_CHECK_FLAGS_SHORT       1037
#define IDS_CHECK_FLAGS_BEYOND      1038
#define IDS_CHECK_FLAGS_EXTRA       1039
#define IDS_CHECK_NO_OTHER_MODULE   1040
#define IDS_CHECK_OTHER_FOLDER      1041
#define IDS_CHECK_FILES_OVER_32K    1042
