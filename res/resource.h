/* Resource ids shared by tarvo.rc and the program's code. Only #defines:
   the resource compiler reads this file too. */
#ifndef TARVO_RESOURCE_H
#define TARVO_RESOURCE_H

#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_TRANSFER 129
#define IDD_PHONE_NUMBER 130
#define IDI_PHONE 128

/* Main dialog */
#define IDC_EXIT_FULL 1
#define IDC_EXIT_COMPACT 2
#define IDC_BACKUP 1000
#define IDC_RESTORE 1001
#define IDC_SET_PHONE_NUMBER 1004
#define IDC_SET_CONFIGURATION 1005
#define IDC_UPGRADE_FIRMWARE 1007
#define IDC_GROUP_FULL 1010
#define IDC_GROUP_COMPACT 1011
#define IDM_ABOUT 16

/* Operation dialogs */
#define IDC_REBOOT 3
#define IDC_FILE_SIZE 1003
#define IDC_TRANSMITTED 1004
#define IDC_ERRORS 1005
#define IDC_PATH 1006
#define IDC_STATUS 1007
#define IDC_PHONE_STATUS 1006

/* Strings the program shows by id (the status texts are in link/operation.h) */
#define IDS_ABOUT_MENU 101
#define IDS_PORT_FAILED 102
#define IDS_FILE_FAILED 103
#define IDS_WORKER_FAILED 109
#define IDS_UNAVAILABLE_FILE 112
#define IDS_NO_COMPANION_LIST 117
#define IDS_PHONE_NUMBER_START 119
#define IDS_TITLE_CONFIGURATION 121
#define IDS_TITLE_BACKUP 122
#define IDS_TITLE_RESTORE 123
#define IDS_APP_TITLE 125
#define IDS_TITLE_FIRMWARE 126
#define IDS_CONFIRM_FIRMWARE 127

#define TARVO_VERSION_TEXT "1.8.0.0"

#endif
