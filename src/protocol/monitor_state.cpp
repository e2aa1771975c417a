#include "protocol/monitor_state.h"

MonitorState monitorState;
