// The options dialog: the notification mode and the (hidden) alert box.
#ifndef LUMEVIEW_OPTIONS_DIALOG_H
#define LUMEVIEW_OPTIONS_DIALOG_H

#include <windows.h>

// Opens the modeless dialog of template 133, owned by the main window, as
// the dialog the message loop feeds, and disables the main window until it
// closes. OK stores the settings, Cancel reloads them from the file.
void OpenOptionsDialog();

#endif
