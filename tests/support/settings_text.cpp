#include "settings_text.h"

std::string ModeSettings(int notificationMode, int alertEnabled)
{
    return "[Status Monitor]\r\nevent_notification_type=" + std::to_string(notificationMode) +
           "\r\nsound_audio_alert=" + std::to_string(alertEnabled) + "\r\n";
}
