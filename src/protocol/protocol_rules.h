// Pure decisions of the protocol: whether a report shows the window, and
// which device state (and alert) a status report leads to.
#ifndef LUMEVIEW_PROTOCOL_RULES_H
#define LUMEVIEW_PROTOCOL_RULES_H

#include <windows.h>

#include "lumeview/protocol.h"

// Show reason of every status report; an operation change uses its code,
// so printing (10) counts like a status report.
const unsigned kShowReasonStatusReport = 10;

// True when the show policy sends LVWM_APPSHOW for this mode and reason.
bool ShowPolicyShows(LONG notificationMode, unsigned reason);

struct StateDecision {
    DeviceState state;
    bool alert;  // LVWM_ALERT follows the state change
};

// The state that a status report (category, code) sets; both unsigned.
StateDecision DecideReportState(DWORD category, DWORD code);

bool IsDeviceState(WPARAM value);

#endif
