/* A print side in plain C on lvps: prints a short job of six pages, has a
   paper jam on the third and honours a cancel pressed on the monitor's
   panel, whichever way the platform sends it.
   Usage: lvps_print_job PATH_OF_LUMEVIEW_EXE */
#include <stdio.h>

#include "lvps.h"

#define PAGES 6
#define JAMMED_PAGE 3
#define PAGE_MS 400
#define JAM_MS 2000

static void OnCancel(void* context, const LvpsCancelRequest* request)
{
    *(int*)context = 1;
    printf("cancel requested (%s)\n",
           request->channel == LVPS_CANCEL_MESSAGE ? "LVWM_CANCELJOB" : "event reset");
}

static int Failed(const char* step, LvpsStatus status)
{
    printf("%s: %s\n", step, lvps_status_text(status));
    return 1;
}

/* Prints for `ms`, serving the job; false once the user cancelled. A
   monitor closed meanwhile does not stop the printing. */
static int Work(LvpsJob* job, DWORD ms, const int* cancelled)
{
    lvps_job_wait(job, ms);
    return !*cancelled;
}

int main(int argc, char** argv)
{
    LvpsMonitor monitor = {0};
    LvpsJob* job = NULL;
    LvpsStatus status;
    int cancelled = 0, page = 0;

    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc != 2)
        return Failed("usage: lvps_print_job PATH_OF_LUMEVIEW_EXE", LVPS_ERR_ARGUMENT);
    if ((status = lvps_publish_printer("Brevik Solvane XL")) != LVPS_OK ||
        (status = lvps_publish_document("Rapport annuel.doc")) != LVPS_OK)
        return Failed("publish", status);
    status = lvps_start(argv[1], "/P", 0, &monitor, NULL);
    if (status == LVPS_ERR_DECLINED) {
        printf("the user keeps the monitor off: printing without it\n");
        return 0;
    }
    if (status != LVPS_OK)
        return Failed("start", status);
    if ((status = lvps_job_open(OnCancel, &cancelled, &job)) != LVPS_OK)
        return Failed("job", status);
    if ((status = lvps_job_register(job, &monitor)) != LVPS_OK) {
        lvps_job_close(job);
        return Failed("register", status);
    }

    lvps_show_document(&monitor);
    lvps_operation(&monitor, LV_OP_PRINTING);
    lvps_pages_total(&monitor, PAGES);
    while (page < PAGES && Work(job, PAGE_MS, &cancelled)) {
        if (page + 1 == JAMMED_PAGE) {
            printf("paper jam on page %d\n", page + 1);
            lvps_report_status(&monitor, OPECALL_RECOVER, 2);
            if (!Work(job, JAM_MS, &cancelled))
                break;
            lvps_report_status(&monitor, CATEGORY_NONE, 0);
            printf("jam cleared\n");
        }
        lvps_pages_done(&monitor, ++page);
        printf("page %d printed\n", page);
    }

    lvps_job_close(job);
    lvps_operation(&monitor, LV_OP_ENDED);
    if (cancelled)
        printf("job cancelled after %d of %d pages\n", page, PAGES);
    else
        printf("job printed: %d pages\n", page);
    return 0;
}
