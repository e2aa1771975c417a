// The texts of the settings files that tests write, built section by
// section and key by key instead of spelled out as INI text.
#ifndef LUMEVIEW_TEST_SETTINGS_TEXT_H
#define LUMEVIEW_TEST_SETTINGS_TEXT_H

#include <string>

// SettingsFile().Section("Status Monitor").Key("event_notification_type", 1).Text()
// gives "[Status Monitor]\r\nevent_notification_type=1\r\n": lines in the
// order written, CR LF as the platform's profile functions write them.
class SettingsFile {
public:
    SettingsFile& Section(const std::string& name);
    SettingsFile& Key(const std::string& key, const std::string& value);
    SettingsFile& Key(const std::string& key, const char* value) { return Key(key, std::string(value)); }
    SettingsFile& Key(const std::string& key, long long value) { return Key(key, std::to_string(value)); }
    SettingsFile& Key(const std::string& key, int value) { return Key(key, std::to_string(value)); }
    // A line as it is, for what no key is (noise, a broken section line).
    SettingsFile& Line(const std::string& line);
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// The monitor's own section started.
SettingsFile MonitorSettings();

// The monitor's settings file with its two notification settings.
std::string ModeSettings(int notificationMode, int alertEnabled = 0);

#endif
