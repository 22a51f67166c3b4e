/* Resource ids of the setup program. */
#pragma once

/* icons */
#define IDI_PROGRAM             128
#define IDI_FOLDER              130
#define IDI_NAVIGATOR           142

/* "FILE" resources */
#define IDR_HELPER              143     /* the removal helper program, byte for byte */
#define IDR_AGREEMENT           153     /* agreement text, CR LF lines, closing zero */

/* dialogs */
#define IDD_ABOUT               100
#define IDD_PLUGIN_DESTINATION  102
#define IDD_AGREEMENT           152
#define IDD_PROGRESS            2872
#define IDD_PLAYER_DESTINATION  2873

/* controls */
#define IDC_PLAYER_FOLDER       1000    /* destination: the install set's folder */
#define IDC_NAVIGATOR_FOLDER    1001    /* destination: Navigator's folder */
#define IDC_BROWSE_PLAYER       1004    /* destination: "&Browse..." for 1000 */
#define IDC_BROWSE_NAVIGATOR    1005    /* destination: string 122 or 111 for 1001 */
#define IDC_NAVIGATOR_LABEL     1006    /* destination: what is known of Navigator */
#define IDC_OTHER_PRODUCT       1008    /* destination: check box for the other product */
#define IDC_DESTINATION_LINE    1009    /* destination: the line between the two parts */
#define IDC_ABOUT_NAME          1007    /* about box: product name and version */
#define IDC_AGREEMENT_TEXT      1010    /* agreement page: the read-only text */
#define IDC_PROGRESS_FILE       1090    /* progress: file line */
#define IDC_PROGRESS_STATUS     3652    /* progress: bold status line */
#define IDC_PROGRESS_FRAME      3653    /* progress: frame that places the bar */
#define IDC_PROGRESS_BAR        101     /* progress: the bar window inside the frame */

/* system menu */
#define IDM_ABOUTBOX            16

/* strings */
#define IDS_ABOUT_ITEM          101
#define IDS_FILE_MISSING        102
#define IDS_NO_MODE             103
#define IDS_REMOVAL_DONE        104
#define IDS_TOO_MANY_FILES      105
#define IDS_OWNER_LIST          106
#define IDS_QUICKVIEW           107
#define IDS_EXTENSION           108
#define IDS_BAD_FILE_NAME       109
#define IDS_BROWSE_PLAYER       110
#define IDS_BROWSE_BUTTON       111     /* destination: button 1005 without a Navigator */
#define IDS_PLAYER_NO_PATH      112
#define IDS_MIME_TYPE           113
#define IDS_PROGID              114
#define IDS_DOC_DESCRIPTION     115
#define IDS_CREATE_FOLDER       116
#define IDS_CREATE_FAILED       117
#define IDS_INSTALLED           118
#define IDS_CANCELED            119
#define IDS_RESTART_NAVIGATOR   120
#define IDS_INSTALLING          121
#define IDS_CHANGE_BUTTON       122     /* destination: button 1005 with a Navigator found */
#define IDS_INSTALL_DONE        123
#define IDS_FILE_IN_USE         124
#define IDS_WRITE_PROTECTED     125
#define IDS_NAV_NOT_FOUND       126
#define IDS_NAV_NO_PATH         127
#define IDS_BROWSE_NAVIGATOR    128
#define IDS_NAV_NO_PLUGINS      129
#define IDS_NAV_FOUND           130
#define IDS_REGISTERING         132
#define IDS_README_OFFER        133
#define IDS_README_COMMAND      134
#define IDS_README_FAILED       135
#define IDS_CLEANUP_OFFER       136
#define IDS_STILL_PROTECTED     138
#define IDS_BROWSE_TITLE        139
#define IDS_NO_VARIANT          140
#define IDS_PRODUCT_FAMILY      141
#define IDS_INSTALL_ERROR       142
#define IDS_REMOVING            143
#define IDS_UNREGISTERING       144
#define IDS_CONFIRM_REMOVE      145
#define IDS_REMOVED             146
#define IDS_PROGRAM_RUNNING     147
#define IDS_CHECKING_MODULES    148
#define IDS_CRUCIAL_PROTECTED   149
#define IDS_INIT_FAILED         150
