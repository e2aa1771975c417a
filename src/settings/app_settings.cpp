// Reading and writing the settings file beside the executable.
#include "settings/app_settings.h"

#include "protocol/monitor_state.h"
#include "settings/setting_rules.h"
#include "shell/window_object.h"

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
    char value[kPathSize];

    ReadMonitorString(kKeyHelpFile, value, sizeof value);
    JoinDirectory(appSettings.helpFilePath, sizeof appSettings.helpFilePath,
                  appSettings.exeDirectory, value);

    ReadMonitorString(kKeySoundFile, appSettings.soundFile, sizeof appSettings.soundFile);

    ReadMonitorString(kKeyQueueExe, value, sizeof value);
    SetQueueCommand(appSettings.exeDirectory, value);
}

bool ProgramFileExists(const char* path)
{
    char found[kPathSize];
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

// A printer has a section of its own once its Device Name has three
// characters or more; only the length of the value is used.
bool PrinterHasOwnSection(const char* printer)
{
    char deviceName[kPathSize];
    DWORD length = GetPrivateProfileStringA(printer, kKeyDeviceName, "", deviceName, sizeof deviceName,
                                            appSettings.settingsPath);
    return length >= 3;
}

void ReadPrinterQueueCommand(const char* printer, char* out, DWORD size)
{
    const char* section = PrinterHasOwnSection(printer) ? printer : kStatusMonitor;
    GetPrivateProfileStringA(section, kKeyQueueExe, "", out, size, appSettings.settingsPath);
}

void ReadDefaultPrinter(char* out, DWORD size)
{
    ReadMonitorString(kKeyDefaultPrinter, out, size);
}

bool DriverOffersQueueViewer()
{
    char superQueue[kDriverValueSize];
    GetPrivateProfileStringA(kStatusMonitor, kKeySuperQueue, "", superQueue, sizeof superQueue,
                             kDriverSettingsFile);
    return superQueue[0] != '\0' && lstrcmpA(superQueue, "0") != 0;
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
