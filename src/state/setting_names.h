// Names and sizes that the settings records and the pure rules share: the
// keys of the settings files, the buffer sizes, the notification modes.
#ifndef LUMEVIEW_SETTING_NAMES_H
#define LUMEVIEW_SETTING_NAMES_H

// Section of the monitor's own keys, the words of the printer-name subkey,
// the printer opened without /P, and the tail of the fallback class name.
inline constexpr char kStatusMonitor[] = "Status Monitor";
// The main window's title, and the title of its notification-area icon's
// tooltip and balloons.
inline constexpr char kMonitorTitle[] = "Brevik Solvane XL";

inline constexpr char kKeyAlert[] = "sound_audio_alert";
inline constexpr char kKeyNotification[] = "event_notification_type";
// Exactly 1 puts the monitor's icon in the notification area; written by
// the driver's installer, never by the monitor.
inline constexpr char kKeyNotificationAreaIcon[] = "notification_area_icon";
inline constexpr char kKeyIsIcon[] = "IsIcon";
inline constexpr char kKeyHelpFile[] = "EngssHelp";
inline constexpr char kKeySoundFile[] = "Soundfile";
inline constexpr char kKeyQueueExe[] = "QueueExe";
inline constexpr char kKeyDefaultPrinter[] = "Default Printer";
inline constexpr char kKeyDeviceName[] = "Device Name";

// The driver's own settings file, found in the Windows folder by name.
inline constexpr char kDriverSettingsFile[] = "LGDISET.INI";
inline constexpr char kKeySuperQueue[] = "SuperQueue";

const int kPathSize = 260;
const int kPrinterNameSize = 256;
const int kDocumentNameSize = 128;
// Longest document name read in full, so that its beginning can be shown.
const int kDocumentNameReadSize = 1024;
const int kDriverValueSize = 256;

// Values of the event_notification_type setting.
enum NotificationMode {
    NotifyWhilePrinting = 0,
    NotifyAlways = 1,
    NotifyOff = 2
};

#endif
