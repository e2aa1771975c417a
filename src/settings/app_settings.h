// The monitor's settings: the INI file beside the executable, the driver's
// LGDISET.INI, win.ini and the print side's registry values.
#ifndef LUMEVIEW_APP_SETTINGS_H
#define LUMEVIEW_APP_SETTINGS_H

#include <windows.h>

// Section of the monitor's own keys, the words of the printer-name subkey,
// the printer opened without /P, and the tail of the fallback class name.
inline constexpr char kStatusMonitor[] = "Status Monitor";

inline constexpr char kKeyAlert[] = "sound_audio_alert";
inline constexpr char kKeyNotification[] = "event_notification_type";
inline constexpr char kKeyIsIcon[] = "IsIcon";
inline constexpr char kKeyHelpFile[] = "EngssHelp";
inline constexpr char kKeySoundFile[] = "Soundfile";
inline constexpr char kKeyQueueExe[] = "QueueExe";
inline constexpr char kKeyDefaultPrinter[] = "Default Printer";
inline constexpr char kKeyDeviceName[] = "Device Name";

const int kSettingPathSize = 260;
const int kPrinterNameSize = 256;
const int kDocumentNameSize = 128;
// Longest document name read in full, so that its beginning can be shown.
const int kDocumentNameReadSize = 1024;

struct AppSettings {
    char settingsPath[kSettingPathSize];   // the INI file beside the executable
    char exeDirectory[kSettingPathSize];   // with its trailing '\'
    char helpFilePath[kSettingPathSize];   // exeDirectory + EngssHelp
    char soundFile[kSettingPathSize];      // Soundfile as stored
    char queueCommand[kSettingPathSize];   // exeDirectory + QueueExe
};

extern AppSettings appSettings;

void LoadNotificationSettings();
void SaveNotificationSettings();
void LoadPathSettings();

// IsIcon: read at start-up, written when minimised, opened and on exit.
LONG ReadIsIconSetting();
void WriteIsIconSetting(const char* value);

// Text of the setting "1"/"0"/"2" that the monitor writes for a value.
const char* AlertSettingText(LONG alertEnabled);
const char* NotificationSettingText(LONG notificationMode);

// "1" or "0": whether the window should come back minimised after exit.
const char* IsIconOnExit(LONG closedByRequest, LONG notificationMode, bool minimised);

// directory + value, cut to fit `size` bytes.
void JoinDirectory(char* target, size_t size, const char* directory, const char* value);

// Whether `path` names a program that a command line could start.
typedef bool (*ProgramCheck)(const char* path);

// The command line that starts `command`, a program and its arguments,
// with the program taken from `directory` ("" for a command as written).
// A program that holds a blank is put in quotes, so that no shorter path
// is tried before it; the arguments follow as written. Unquoted, the
// program is the longest part before a blank that `exists` accepts, or the
// whole command when it holds no blank between words. False, with `out`
// empty, when there is no program or the line does not fit `size` bytes.
bool QuotedCommandLine(char* out, size_t size, const char* directory, const char* command, ProgramCheck exists);

// The check QuotedCommandLine is given: a file the system's program search
// finds, ".exe" added to a name without extension.
bool ProgramFileExists(const char* path);

// Puts the runnable line for `command` under `directory` into queueCommand;
// empty when there is nothing to run.
void SetQueueCommand(const char* directory, const char* command);

// Name of the current printer (at most 255 characters); returns 1.
int PrinterIdentity(char* out);

// Reads the document name the print side published; empty when it cannot
// be read or is longer than kDocumentNameReadSize - 1 characters, cut to
// the buffer when longer than that.
void ReadDocumentName(char* out, size_t size);

// The exit step: saves IsIcon and ends the message loop.
void SaveAndQuit(int exitCode);

#endif
