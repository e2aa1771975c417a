// Reading and writing the settings file beside the executable.
#include "settings/settings_store.h"

#include "settings/setting_rules.h"
#include "state/app_settings.h"
#include "state/monitor_state.h"
#include "state/window_object.h"

static LONG ReadMonitorInt(const char* key)
{
    return static_cast<LONG>(GetPrivateProfileIntA(kStatusMonitor, key, 0, appSettings.settingsPath));
}

// A value longer than `size` - 1 characters is refused: false, read as
// empty. Cut, a path or a name would name another file or printer.
static bool ReadWholeString(const char* section, const char* key, char* target, DWORD size)
{
    char value[kPathSize + 1];
    DWORD length = GetPrivateProfileStringA(section, key, "", value, sizeof value, appSettings.settingsPath);
    bool whole = length < size && length < sizeof value - 1;
    lstrcpynA(target, whole ? value : "", static_cast<int>(size));
    return whole;
}

static bool ReadMonitorString(const char* key, char* target, DWORD size)
{
    return ReadWholeString(kStatusMonitor, key, target, size);
}

// exeDirectory followed by the value of `key`; empty when the value or the
// joined path does not fit.
static void ReadPathInExeDirectory(const char* key, char* target, size_t size)
{
    char value[kPathSize];
    if (ReadMonitorString(key, value, sizeof value))
        JoinDirectory(target, size, appSettings.exeDirectory, value);
    else
        target[0] = '\0';
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

bool ReadNotificationAreaIconSetting()
{
    return ReadMonitorInt(kKeyNotificationAreaIcon) == 1;
}

void SaveNotificationSettings()
{
    WriteMonitorString(kKeyAlert, AlertSettingText(monitorState.alertEnabled));
    WriteMonitorString(kKeyNotification, NotificationSettingText(monitorState.notificationMode));
}

void LoadPathSettings()
{
    ReadPathInExeDirectory(kKeyHelpFile, appSettings.helpFilePath, sizeof appSettings.helpFilePath);
    ReadMonitorString(kKeySoundFile, appSettings.soundFile, sizeof appSettings.soundFile);
    // Which program the command names is decided when it runs.
    ReadPathInExeDirectory(kKeyQueueExe, appSettings.queueCommand, sizeof appSettings.queueCommand);
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

bool QueueCommandToRun(char* line, size_t size)
{
    return QueueCommandLine(line, size, appSettings.queueCommand, appSettings.exeDirectory, ProgramFileExists);
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
    ReadWholeString(section, kKeyQueueExe, out, size);
}

void ReadDefaultPrinter(char* out, DWORD size)
{
    GetPrivateProfileStringA(kStatusMonitor, kKeyDefaultPrinter, "", out, size, appSettings.settingsPath);
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

void SaveIsIconOnExit()
{
    bool minimised = IsIconic(mainWindowObject.window) != FALSE;
    WriteIsIconSetting(IsIconOnExit(mainWindowObject.closedByRequest,
                                    monitorState.notificationMode, minimised));
}
