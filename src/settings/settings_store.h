// The monitor's settings: the INI file beside the executable and the
// driver's LGDISET.INI.
#ifndef LUMEVIEW_SETTINGS_STORE_H
#define LUMEVIEW_SETTINGS_STORE_H

#include <windows.h>

void LoadNotificationSettings();
// Whether notification_area_icon asks for the icon: exactly 1.
bool ReadNotificationAreaIconSetting();
void SaveNotificationSettings();
void LoadPathSettings();

// IsIcon: read at start-up, written when minimised, opened and on exit.
LONG ReadIsIconSetting();
void WriteIsIconSetting(const char* value);

// Whether the printer's own section of the settings file counts.
bool PrinterHasOwnSection(const char* printer);
// QueueExe of the printer's own section, or of "Status Monitor" when it
// has none, as stored; empty when it does not fit `size` bytes.
void ReadPrinterQueueCommand(const char* printer, char* out, DWORD size);
// The printer the properties command opens with /P when the printer has
// no section of its own, cut to fit `size` bytes.
void ReadDefaultPrinter(char* out, DWORD size);
// Whether the driver's settings file asks for the print-queue button.
bool DriverOffersQueueViewer();

// The check QuotedCommandLine is given: a file the system's program search
// finds, ".exe" added to a name without extension.
bool ProgramFileExists(const char* path);

// The command line that runs queueCommand now; false when there is
// nothing to run.
bool QueueCommandToRun(char* line, size_t size);

// The exit step's part: saves IsIcon by the rule at exit.
void SaveIsIconOnExit();

#endif
