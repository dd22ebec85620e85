// Resource numbers shared by tessaly.rc and the program.
#pragma once

#define IDI_TESSALY 1
#define IDB_BANNER 101
