// The texts of the monitor's settings file that tests write.
#ifndef LUMEVIEW_TEST_SETTINGS_TEXT_H
#define LUMEVIEW_TEST_SETTINGS_TEXT_H

#include <string>

// The monitor's settings file with its two notification settings.
std::string ModeSettings(int notificationMode, int alertEnabled = 0);

#endif
