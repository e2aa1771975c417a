#include "state/monitor_state.h"

MonitorState monitorState;
