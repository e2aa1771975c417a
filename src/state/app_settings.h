// The paths the monitor reads from its settings once and keeps for the run.
#ifndef LUMEVIEW_APP_SETTINGS_H
#define LUMEVIEW_APP_SETTINGS_H

#include "state/setting_names.h"

struct AppSettings {
    char settingsPath[kPathSize];   // the INI file beside the executable
    char exeDirectory[kPathSize];   // with its trailing '\'
    char helpFilePath[kPathSize];   // exeDirectory + EngssHelp
    char soundFile[kPathSize];      // Soundfile as stored
    char queueCommand[kPathSize];   // exeDirectory + QueueExe, or with /P as stored
};

extern AppSettings appSettings;

#endif
