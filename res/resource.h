// Resource and control identifiers. Control ids and string numbers share one namespace:
// the string whose number equals a control's id is that control's tip.
#pragma once

#define IDD_PREFS              103
#define IDD_CUE                104
#define IDD_INFO               105
#define IDB_BANNER             106
#define IDD_ABOUT              107
#define IDD_TITLEFORMAT        108
#define IDD_GENERAL            109
#define IDD_TRACKLIST          110

#define IDC_GENERAL_ENABLE     1000
#define IDC_GENERAL_OFFSET     1005
#define IDC_GENERAL_LEAD       1006
#define IDC_GENERAL_SHOW_CUE   1007
#define IDC_GENERAL_ENCODING   1008
#define IDC_GENERAL_SNAP       1009
#define IDC_GENERAL_CDCHECK    1010
#define IDC_FORMAT_HEADER_DEFAULT 1003
#define IDC_FORMAT_HEADER      1015
#define IDC_FORMAT_TRACK       1016
#define IDC_FORMAT_TRACK_DEFAULT 1017
#define IDC_FORMAT_PREVIEW     1018
#define IDC_FORMAT_PROBLEM     1019
#define IDC_PREFS_TABS         1023
#define IDC_ABOUT_NOTES        1028

#define IDC_CUE_EDITOR         1029
#define IDC_CUE_RESET          1031
#define IDC_CUE_SAVE           1032
#define IDC_CUE_LISTEN         1040
#define IDC_CUE_EARLIER        1041
#define IDC_CUE_LATER          1042
#define IDC_CUE_OPEN           1043
#define IDC_CUE_EXPORT         1044
#define IDC_CUE_TRACKLIST      1045
#define IDC_CUE_SNAP           1046
#define IDC_CUE_WAVE           1047
#define IDC_CUE_STATUS         1048

#define IDC_TRACKLIST_EDITOR   1050
#define IDC_TRACKLIST_NEXT     1051
#define IDC_TRACKLIST_READING  1052

#define IDC_INFO_TITLE         1035
#define IDC_INFO_PERFORMER     1036
#define IDC_INFO_OK            1037
#define IDC_INFO_PLACED        1038

#define LUMO_VERSION_TEXT      "1.0.0.0"
#define LUMO_VERSION_NUMBERS   1,0,0,0
