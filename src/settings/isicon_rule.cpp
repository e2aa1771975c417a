// Pure parts of the settings: the texts the monitor writes and the IsIcon
// rule at exit.
#include "app_settings.h"

#include <stdio.h>

const char* AlertSettingText(LONG alertEnabled)
{
    return alertEnabled == 1 ? "1" : "0";
}

const char* NotificationSettingText(LONG notificationMode)
{
    switch (notificationMode) {
    case 1:
        return "1";
    case 2:
        return "2";
    default:
        return "0";
    }
}

// A user who closes a monitor that only shows itself while printing wants
// it back minimised; otherwise the window's own state is kept.
const char* IsIconOnExit(LONG closedByRequest, LONG notificationMode, bool minimised)
{
    if (!closedByRequest && notificationMode == 0)
        return "1";
    return minimised ? "1" : "0";
}

void JoinDirectory(char* target, size_t size, const char* directory, const char* value)
{
    snprintf(target, size, "%s%s", directory, value);
}
