/* Built with -std=c99 -Wall -Wextra -Werror: the header stands alone in C. */
#include "lvps.h"

LvpsStatus (*const lvps_header_check)(const LvpsMonitor*) = lvps_show;
