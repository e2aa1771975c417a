#include "settings_text.h"

SettingsFile& SettingsFile::Section(const std::string& name)
{
    return Line("[" + name + "]");
}

SettingsFile& SettingsFile::Key(const std::string& key, const std::string& value)
{
    return Line(key + "=" + value);
}

SettingsFile& SettingsFile::Line(const std::string& line)
{
    text_ += line + "\r\n";
    return *this;
}

SettingsFile MonitorSettings()
{
    return SettingsFile().Section("Status Monitor");
}

std::string ModeSettings(int notificationMode, int alertEnabled)
{
    return MonitorSettings()
        .Key("event_notification_type", notificationMode)
        .Key("sound_audio_alert", alertEnabled)
        .Text();
}
