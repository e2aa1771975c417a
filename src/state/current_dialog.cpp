#include "state/current_dialog.h"

// The panel from start-up on; the options dialog while it is open.
HWND currentDialog = nullptr;
