// Stands in for the print side's job: a job window registered with the
// monitor and the named cancel event, watched for a cancel request.
#ifndef LVSEND_JOB_STAND_IN_H
#define LVSEND_JOB_STAND_IN_H

#include "options.h"

struct JobOptions {
    DWORD seconds = 0;         // 0: no time limit
    bool untilCancel = false;  // end after the first cancel request
};

// Registers, watches and unregisters. Ends on the time limit, the first
// cancel with untilCancel, Ctrl-C, "quit" or the end of a piped stdin, or
// when the monitor closes.
int RunJob(const Options& options, const JobOptions& job);

#endif
