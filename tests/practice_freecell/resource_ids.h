#pragma once
// Resource and command ids shared by the resource script and the code.

#define IDM_MAIN 100
#define IDD_SELECT 101
#define IDD_WIN 102
#define IDD_STUCK 103
#define IDD_STATS 104

#define IDC_UNDO 200
#define IDC_SELECT 201
#define IDC_EXIT 202
#define IDC_STATS 203
#define IDC_DEAL_EDIT 210
#define IDC_RESTART 211
#define IDC_END 212
#define IDC_TRIGGER_WIN 220
#define IDC_TRIGGER_STUCK 221
#define IDC_STATUS 222
