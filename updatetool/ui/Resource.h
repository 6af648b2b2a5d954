// Resource ids of the update tool: its dialog template, icon and controls.
#pragma once

constexpr int IDD_UPDATETOOL_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;  // the program icon

constexpr int IDC_FIRMWARE_PATH = 1001;
constexpr int IDC_LOADER_FILE = 1002;
constexpr int IDC_LOADER_PATH = 1003;
constexpr int IDC_TARGET_FILE = 1007;
constexpr int IDC_UPDATE = 1008;
constexpr int IDC_STATUS_LABEL = 1009;
constexpr int IDC_STATUS = 1010;
constexpr int IDC_PROGRESS = 1013;
constexpr int IDC_FW_VERSION = 1015;
constexpr int IDC_PORT = 1017;
constexpr int IDC_REPAIR = 1021;
constexpr int IDC_CURRENT_VERSION = 1022;
constexpr int IDC_NEW_VERSION = 1023;
