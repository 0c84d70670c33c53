#pragma once

#define IDI_PARLIVO 1
#define IDB_BANNER 101
#define IDB_TOOLBAR 102
