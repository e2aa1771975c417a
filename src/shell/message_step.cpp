#include "shell/message_step.h"

#include "state/current_dialog.h"

void HandleMonitorMessage(HACCEL accelerators, MSG* message)
{
    if (TranslateAcceleratorA(currentDialog, accelerators, message))
        return;
    if (IsDialogMessageA(currentDialog, message))
        return;
    TranslateMessage(message);
    DispatchMessageA(message);
}
