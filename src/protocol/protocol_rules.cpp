#include "protocol/protocol_rules.h"

#include "state/setting_names.h"

bool ShowPolicyShows(LONG notificationMode, unsigned reason)
{
    switch (notificationMode) {
    case NotifyWhilePrinting:
    case NotifyOff:
        return reason == kShowReasonStatusReport;
    case NotifyAlways:
        return true;
    default:
        return false;
    }
}

static StateDecision ErrorWithAlert() { return {Error, true}; }
static StateDecision Quiet(DeviceState state) { return {state, false}; }

// Recoverable conditions: the ones the user must clear stop the device.
static StateDecision DecideRecoverState(DWORD code)
{
    switch (code) {
    case 1: case 2: case 7: case 8: case 9: case 10:
    case 13: case 14: case 15: case 16: case 22: case 23:
        return ErrorWithAlert();
    default:
        return Quiet(Ready);
    }
}

StateDecision DecideReportState(DWORD category, DWORD code)
{
    switch (category) {
    case SERVICE_ERROR:
    case OPECALL_ERROR:
        return ErrorWithAlert();
    case OPECALL_RECOVER:
        return DecideRecoverState(code);
    case OPECALL_WARNING:
        return code == 3 ? ErrorWithAlert() : Quiet(Warning);
    default:
        return Quiet(Ready);
    }
}

bool IsDeviceState(WPARAM value)
{
    return value == Ready || value == Warning || value == Error;
}
