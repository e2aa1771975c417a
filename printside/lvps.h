/* lvps: the print side's half of the lumeview protocol, for a driver to link.
   Finds or starts the monitor, sends its messages with a time limit,
   publishes the printer and document names, and holds a job: the job
   window, the named cancel event and the cancel requests of both channels.

   Plain C (C89 and up, C++ too); Windows API only. Texts are ANSI, code
   page 1252, as the monitor reads them. Every call returns an LvpsStatus;
   lvps_status_text gives its text. No call waits longer than its limit. */
#ifndef LVPS_H
#define LVPS_H

#include <windows.h>

#include "lumeview/protocol.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum LvpsStatus {
    LVPS_OK = 0,
    LVPS_ERR_ARGUMENT,      /* a pointer is null, a text empty or too long, a value out of range */
    LVPS_ERR_NO_MONITOR,    /* no window of the monitor's class */
    LVPS_ERR_GONE,          /* the monitor's window has closed */
    LVPS_ERR_TIMEOUT,       /* no answer, or no window, within the time limit */
    LVPS_ERR_REFUSED,       /* the monitor answered 0 */
    LVPS_ERR_DECLINED,      /* the monitor ended with 0 without a window: its launch rule said no */
    LVPS_ERR_EXITED,        /* the monitor ended with another exit code without a window */
    LVPS_ERR_START_FAILED,  /* the program could not be run */
    LVPS_ERR_REGISTRY,      /* a registry key or value could not be written */
    LVPS_ERR_SYSTEM,        /* a window, window class or event could not be made */
    LVPS_ERR_JOB_OPEN,      /* this process already has a job open */
    LVPS_ERR_WRONG_THREAD,  /* a job call from a thread other than the one that opened it, while it runs */
    LVPS_ERR_OTHER_JOB      /* another process's job holds the cancel event; the monitor serves one at a time */
} LvpsStatus;

/* Limits of texts, in characters without the terminating NUL. */
#define LVPS_PATH_MAX 259          /* the monitor's executable path */
#define LVPS_CLASS_NAME_MAX 255    /* a window class name */
#define LVPS_COMMAND_LINE_MAX 1023 /* the quoted path, a blank and the arguments */
#define LVPS_DOCUMENT_NAME_MAX 127 /* what the monitor shows */
#define LVPS_PRINTER_NAME_MAX 255  /* what the monitor can read */

/* Time limits used when a field or argument is 0, in milliseconds. */
#define LVPS_DEFAULT_TIMEOUT_MS 5000
#define LVPS_DEFAULT_REPORT_TIMEOUT_MS 30000 /* a status report returns after the alert sound */
#define LVPS_DEFAULT_START_TIMEOUT_MS 15000
#define LVPS_LONGEST_TIMEOUT_MS 600000

/* One send, as told to a trace callback. */
typedef struct LvpsSendRecord {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD timeoutMs;   /* the limit that applied */
    LvpsStatus status; /* LVPS_OK when the monitor answered */
    LRESULT result;    /* the answer, when it answered */
} LvpsSendRecord;

typedef void (*LvpsTrace)(void* context, const LvpsSendRecord* record);

/* The running monitor as the caller sees it. Start from all zeros
   (LvpsMonitor monitor = {0};); lvps_find and lvps_start fill window and
   processId, the caller may set the rest at any time. */
typedef struct LvpsMonitor {
    HWND window;            /* the monitor's main window */
    DWORD processId;        /* its process: a window handle of a closed monitor is not trusted */
    DWORD timeoutMs;        /* limit of each send; 0: LVPS_DEFAULT_TIMEOUT_MS */
    DWORD reportTimeoutMs;  /* limit of LVWM_ERROR and LVWM_ALERT; 0: LVPS_DEFAULT_REPORT_TIMEOUT_MS */
    LvpsTrace trace;        /* optional: called after every send, on the sending thread */
    void* traceContext;
} LvpsMonitor;

typedef enum LvpsStartOutcome {
    LVPS_START_LAUNCHED = 1,     /* the new process showed its own window */
    LVPS_START_ALREADY_RUNNING   /* a copy was running; the new process handed over to it and ended */
} LvpsStartOutcome;

typedef struct LvpsStartInfo {
    LvpsStartOutcome outcome; /* with LVPS_OK */
    DWORD exitCode;           /* with LVPS_ERR_EXITED */
    DWORD systemError;        /* with LVPS_ERR_START_FAILED and LVPS_ERR_SYSTEM: GetLastError */
} LvpsStartInfo;

const char* lvps_status_text(LvpsStatus status);

/* The window class the monitor registers when run from exePath: the file
   name up to its first '.', upper-cased, by the monitor's own rule. */
LvpsStatus lvps_class_name(const char* exePath, char* className, DWORD size);

LvpsStatus lvps_find(const char* exePath, LvpsMonitor* monitor);
LvpsStatus lvps_find_class(const char* className, LvpsMonitor* monitor);

/* Runs exePath with arguments (NULL or "" for none), in exePath's own
   folder as its current folder, and waits until that process has shown
   its own window or ended, at most timeoutMs (0: the default). A second
   copy hands over to the one that runs and ends: then monitor names the
   running copy. info may be NULL. */
LvpsStatus lvps_start(const char* exePath, const char* arguments, DWORD timeoutMs,
                      LvpsMonitor* monitor, LvpsStartInfo* info);

/* Any message from WM_USER up (system messages below it carry pointers
   and are refused); result may be NULL. */
LvpsStatus lvps_send(const LvpsMonitor* monitor, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT* result);

/* The common messages; LVPS_ERR_REFUSED when the monitor answers 0. */
LvpsStatus lvps_report_status(const LvpsMonitor* monitor, DWORD category, DWORD code);
LvpsStatus lvps_operation(const LvpsMonitor* monitor, DWORD operation);
LvpsStatus lvps_pages_done(const LvpsMonitor* monitor, LONG count);
LvpsStatus lvps_pages_total(const LvpsMonitor* monitor, LONG count);
LvpsStatus lvps_reset(const LvpsMonitor* monitor);
LvpsStatus lvps_show(const LvpsMonitor* monitor);
LvpsStatus lvps_minimise(const LvpsMonitor* monitor);
LvpsStatus lvps_close(const LvpsMonitor* monitor);

/* The registry values the monitor reads (HKEY_CLASSES_ROOT). */
LvpsStatus lvps_publish_printer(const char* name);
LvpsStatus lvps_publish_document(const char* name);
LvpsStatus lvps_remove_document(void);
/* LVWM_DOCNAME: the monitor reads the published document name. */
LvpsStatus lvps_show_document(const LvpsMonitor* monitor);

/* A job: the job window and the named event "EventLPIEmon". The event is
   one per session and the monitor serves one job window at a time, so one
   job is open in the whole session: the job's thread holds the named mutex
   LVPS_JOB_OWNER_MUTEX while it is open, and a job_open in another
   process meanwhile gets LVPS_ERR_OTHER_JOB and leaves the event as it is
   (a reset pending for the open job stays pending). A mutex left by a job
   whose process or thread ended is taken over.

   The job window belongs to the thread that opens it; cancel requests
   arrive while that thread waits in lvps_job_wait, in any lvps send, or in
   a message loop of its own. The window ignores WM_CLOSE: only
   lvps_job_close ends it. When that thread ends without closing the job,
   the system destroys the window and the job stays open until
   lvps_job_close, which then may come from any thread. */
typedef struct LvpsJob LvpsJob;

#define LVPS_JOB_OWNER_MUTEX "EventLPIEmon.owner"

typedef enum LvpsCancelChannel {
    LVPS_CANCEL_EVENT_RESET = 1, /* Windows 95 and NT: the monitor reset the event */
    LVPS_CANCEL_MESSAGE          /* Win32s: the monitor sent LVWM_CANCELJOB to the job window */
} LvpsCancelChannel;

typedef struct LvpsCancelRequest {
    LvpsCancelChannel channel;
    WPARAM wParam; /* of LVWM_CANCELJOB */
    LPARAM lParam;
} LvpsCancelRequest;

/* Called on the job's thread for every cancel request. */
typedef void (*LvpsCancelCallback)(void* context, const LvpsCancelRequest* request);

/* LVPS_ERR_OTHER_JOB: another process's job is open. LVPS_ERR_SYSTEM also
   when an event of that name made by another program is auto-reset: each
   look at it would take its signal and read as a request. Windows 95 has
   no way to read an event's kind: there such an event gives a request at
   every look. */
LvpsStatus lvps_job_open(LvpsCancelCallback callback, void* context, LvpsJob** job);
/* LVWM_JOBWINDOW register: the panel's cancel button comes alive. */
LvpsStatus lvps_job_register(LvpsJob* job, const LvpsMonitor* monitor);
/* Serves the job window's posted messages and watches the event for up
   to timeoutMs; returns early once a cancel request has come. Leaves the
   quit message and every other window's messages to the caller's loop.
   LVPS_ERR_GONE when the monitor it was registered with has closed (the
   job stays open). LVWM_CANCELJOB counts only when sent from another
   thread, as the monitor sends it; posted, it is dropped. */
LvpsStatus lvps_job_wait(LvpsJob* job, DWORD timeoutMs);
typedef struct LvpsJobInfo {
    HWND window;          /* the job window */
    DWORD cancelRequests; /* requests so far */
    /* Signalled from the first request on, for another thread to wait on.
       The job owns it: it is valid until lvps_job_close returns, and after
       that its value may name any new handle, the next job's signal too.
       A thread that may still wait then waits on its own copy
       (DuplicateHandle), which stays this job's. */
    HANDLE cancelSignal;
} LvpsJobInfo;

/* May be called from any thread while the job is open. */
LvpsStatus lvps_job_info(const LvpsJob* job, LvpsJobInfo* info);
/* Unregisters when the monitor is still there, then releases the window,
   its class and the event in every case. The status says whether the
   monitor heard the unregistering. From the job's thread, or from any
   thread once the job's thread has ended. */
LvpsStatus lvps_job_close(LvpsJob* job);

#ifdef __cplusplus
}
#endif

#endif
