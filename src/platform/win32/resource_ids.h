#pragma once

// Ids of the resources in resources/hotfill.rc, shared by the resource script
// and the code that loads them. Plain defines: the resource compiler reads this.

#define IDI_HOTFILL 1  // lowest icon id: the one the shell shows for the program

#define IDB_ZIRA_EXPANDED 201
#define IDB_ZIRA_COLLAPSED 202
#define IDB_PICKER_BULLSEYE 203
#define IDB_PICKER_EMPTY 204

#define IDC_BULLSEYE 301

#define IDW_CUE_START 401
#define IDW_CUE_FINISH 402
#define IDW_CUE_RECORD_START 403
#define IDW_CUE_RECORD_STOP 404
