#include "monitor_state.h"

// The alert counts as enabled until start-up has read the setting.
MonitorState monitorState = {
    Ready, nullptr, 0, 0, NotifyWhilePrinting, 1, FALSE, 0,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};
