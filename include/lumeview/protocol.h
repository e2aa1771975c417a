/* The monitor's window protocol as the print side sees it: the messages,
   their parameters, and the names of the window class, the registry key
   and the cancel event. Plain C, so that a print driver written in C
   includes it as well as the monitor, lvps and lvsend. The numbers are
   fixed: the print side depends on them. */
#ifndef LUMEVIEW_PROTOCOL_H
#define LUMEVIEW_PROTOCOL_H

#include <windows.h>

/* Messages received by the monitor's main window */
#define LVWM_APPINIT (WM_USER + 1)
#define LVWM_APPCLOSE (WM_USER + 2)
#define LVWM_APPSHOW (WM_USER + 3)
#define LVWM_APPMINIMUM (WM_USER + 4)
#define LVWM_JOBWINDOW (WM_USER + 8)
#define LVWM_DOCNAME (WM_USER + 9)
#define LVWM_ERROR (WM_USER + 10)
#define LVWM_OPERATION (WM_USER + 20)
#define LVWM_PROGRESS (WM_USER + 30)
#define LVWM_ALERT (WM_USER + 200)
#define LVWM_SETSTATE (WM_USER + 201)

/* Sent by the monitor to the registered job window (Win32s cancel channel) */
#define LVWM_CANCELJOB (WM_USER + 100)

/* wParam of LVWM_JOBWINDOW */
#define LV_JOB_UNREGISTER 0
#define LV_JOB_REGISTER 1

/* wParam of LVWM_PROGRESS */
#define LV_PROGRESS_DONE 1
#define LV_PROGRESS_TOTAL 2

/* wParam of LVWM_ALERT */
#define LV_ALERT_SOUND 1

/* wParam of LVWM_ERROR: the error category; lParam is the code in it */
typedef enum ErrorCategory {
    CATEGORY_NONE = 0,
    SERVICE_ERROR = 1,
    OPECALL_ERROR = 2,
    OPECALL_RECOVER = 3,
    OPECALL_WARNING = 4
} ErrorCategory;

/* wParam of LVWM_SETSTATE */
typedef enum DeviceState { Ready = 0, Warning = 1, Error = 2 } DeviceState;

/* Low 16 bits of the wParam of LVWM_OPERATION */
#define LV_OP_ENDED 1
#define LV_OP_PSAVEMODE 2
#define LV_OP_PRINTING 10
#define LV_OP_SCANNING 20
#define LV_OP_COPYING 30

/* Names shared with the print side */
#define LV_DEFAULT_CLASS "LUMEVIEW"
#define LV_REGISTRY_DOCUMENT_KEY "PrinterService\\StatusMonitor\\Document"
#define LV_REGISTRY_DOCNAME "DocName"
/* Subkey of the document key whose default value names the printer */
#define LV_REGISTRY_PRINTER_SUBKEY "DeviceName\\Status\\Monitor"
#define LV_CANCEL_EVENT_NAME "EventLPIEmon"

#endif
