#pragma once

#define IDI_PARLIVO 1
#define IDB_BANNER 101
#define IDB_TOOLBAR 102
// The same pictures drawn for 125, 150 and 200 % scaling.
#define IDB_BANNER_125 111
#define IDB_TOOLBAR_125 112
#define IDB_BANNER_150 121
#define IDB_TOOLBAR_150 122
#define IDB_BANNER_200 131
#define IDB_TOOLBAR_200 132
