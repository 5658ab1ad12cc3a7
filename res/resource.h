// Resource and control identifiers of the main dialog. Plain macros: the resource compiler,
// the Windows code and the portable test run all read this file.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_ANALYZER_DIALOG 102
// The main dialog's caption, which also heads every protocol, with or without the dialog.
#define PROGRAM_CAPTION "Tarnvik Analyzér 1.0"
#define IDR_MAINFRAME 128
#define IDB_STATUS_PASS 139
#define IDB_STATUS_FAIL 140
// The status images drawn for 125, 150 and 200 % of 96 DPI.
#define IDB_STATUS_PASS_20 141
#define IDB_STATUS_FAIL_20 142
#define IDB_STATUS_PASS_24 143
#define IDB_STATUS_FAIL_24 144
#define IDB_STATUS_PASS_32 145
#define IDB_STATUS_FAIL_32 146

// Fields (read-only edits)
#define IDC_CPU 1001
#define IDC_RAM 1002
#define IDC_DISK 1003
#define IDC_OS 1008
#define IDC_IE 1009
#define IDC_DOMAIN 1011
#define IDC_SERVICES 1012
#define IDC_OUTLOOK 1021
#define IDC_HTTP 1024
#define IDC_HTTPS 1026
#define IDC_LOTUS 1030
#define IDC_EXCHANGE 1041
#define IDC_ACTIVEX 1045
#define IDC_EARLIER_INSTALL 1048

// Status images (bitmap statics)
#define IDC_OS_STATUS 1013
#define IDC_IE_STATUS 1014
#define IDC_DISK_STATUS 1016
#define IDC_ADMIN_STATUS 1017
#define IDC_DOMAIN_STATUS 1018
#define IDC_SERVICES_STATUS 1019
#define IDC_OUTLOOK_STATUS 1022
#define IDC_HTTP_STATUS 1025
#define IDC_HTTPS_STATUS 1027
#define IDC_LOTUS_STATUS 1031
#define IDC_EXCHANGE_STATUS 1042
#define IDC_ACTIVEX_STATUS 1046
#define IDC_EARLIER_INSTALL_STATUS 1049

// Item labels (links when their item failed)
#define IDC_LOTUS_LABEL 1029
#define IDC_OUTLOOK_LABEL 1023
#define IDC_EXCHANGE_LABEL 1040
#define IDC_DISK_LABEL 1032
#define IDC_OS_LABEL 1033
#define IDC_IE_LABEL 1034
#define IDC_ACTIVEX_LABEL 1044
#define IDC_HTTP_LABEL 1035
#define IDC_HTTPS_LABEL 1036
#define IDC_ADMIN_LABEL 1037
#define IDC_DOMAIN_LABEL 1038
#define IDC_SERVICES_LABEL 1039
#define IDC_EARLIER_INSTALL_LABEL 1047
#define IDC_PROTOCOL_NOTE 1043

// Groups, radios and buttons
#define IDC_HW_GROUP 1000
#define IDC_INSTALL_TYPE_GROUP 1004
#define IDC_TYPE_EXCHANGE 1005
#define IDC_TYPE_LOTUS 1006
#define IDC_SW_GROUP 1007
#define IDC_NETWORK_GROUP 1010
#define IDC_TEST 1015
#define IDC_EXCHANGE_GROUP 1020
#define IDC_LOTUS_GROUP 1028
