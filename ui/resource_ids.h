#pragma once
// Ids shared by Dealwarden.rc and the code.
#define DW_IDI_APP 1
#define DW_IDM_SEISEKI 100
#define DW_IDM_NO1 101
