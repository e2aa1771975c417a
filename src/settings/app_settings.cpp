// Reading and writing the settings file beside the executable.
#include "app_settings.h"

#include "monitor_state.h"
#include "window_object.h"

AppSettings appSettings;

static LONG ReadMonitorInt(const char* key)
{
    return static_cast<LONG>(GetPrivateProfileIntA(kStatusMonitor, key, 0, appSettings.settingsPath));
}

static void ReadMonitorString(const char* key, char* target, DWORD size)
{
    GetPrivateProfileStringA(kStatusMonitor, key, "", target, size, appSettings.settingsPath);
}

static void WriteMonitorString(const char* key, const char* value)
{
    // A read-only folder makes this fail; the run goes on regardless.
    WritePrivateProfileStringA(kStatusMonitor, key, value, appSettings.settingsPath);
}

void LoadNotificationSettings()
{
    monitorState.alertEnabled = ReadMonitorInt(kKeyAlert);
    monitorState.notificationMode = ReadMonitorInt(kKeyNotification);
}

void SaveNotificationSettings()
{
    WriteMonitorString(kKeyAlert, AlertSettingText(monitorState.alertEnabled));
    WriteMonitorString(kKeyNotification, NotificationSettingText(monitorState.notificationMode));
}

void LoadPathSettings()
{
    char value[kSettingPathSize];

    ReadMonitorString(kKeyHelpFile, value, sizeof value);
    JoinDirectory(appSettings.helpFilePath, sizeof appSettings.helpFilePath,
                  appSettings.exeDirectory, value);

    ReadMonitorString(kKeySoundFile, appSettings.soundFile, sizeof appSettings.soundFile);

    ReadMonitorString(kKeyQueueExe, value, sizeof value);
    SetQueueCommand(appSettings.exeDirectory, value);
}

bool ProgramFileExists(const char* path)
{
    char found[kSettingPathSize];
    DWORD length = SearchPathA(nullptr, path, ".exe", sizeof found, found, nullptr);
    if (length == 0 || length >= sizeof found)
        return false;
    DWORD attributes = GetFileAttributesA(found);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetQueueCommand(const char* directory, const char* command)
{
    QuotedCommandLine(appSettings.queueCommand, sizeof appSettings.queueCommand, directory, command,
                      ProgramFileExists);
}

LONG ReadIsIconSetting()
{
    return ReadMonitorInt(kKeyIsIcon);
}

void WriteIsIconSetting(const char* value)
{
    WriteMonitorString(kKeyIsIcon, value);
}

void SaveAndQuit(int exitCode)
{
    bool minimised = IsIconic(mainWindowObject.window) != FALSE;
    WriteIsIconSetting(IsIconOnExit(mainWindowObject.closedByRequest,
                                    monitorState.notificationMode, minimised));
    PostQuitMessage(exitCode);
}
