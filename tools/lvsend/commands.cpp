#include "commands.h"

#include "job_stand_in.h"
#include "monitor_link.h"
#include "output.h"
#include "panel_reader.h"
#include "print_side_registry.h"
#include "scenario.h"
#include "table_listing.h"

namespace {

// Longest `wait` and `job --seconds`: a typing slip must not hang a script.
const DWORD kLongestWaitMs = 600000;
const DWORD kLongestJobSeconds = 86400;

typedef int (*CommandRun)(const Options& options, const Words& args, int depth);

struct Command {
    const char* name;
    int minArgs;
    int maxArgs;  // -1: no limit
    const char* syntax;
    const char* summary;  // nullptr: an alias, left out of the help
    CommandRun run;
};

// Reads args[index] as a number; prints the error itself.
bool Number(const Words& args, size_t index, const char* what, DWORD* value)
{
    if (ParseNumber(args[index], value))
        return true;
    Fail(ExitUsage, "%s: '%s' is not a number (decimal or 0x hex, 32 bits)", what, args[index].c_str());
    return false;
}

int Send(const Options& options, UINT message, DWORD wParam, DWORD lParam)
{
    return SendToMonitor(options, message, wParam, static_cast<LPARAM>(static_cast<LONG>(lParam)));
}

int RunStart(const Options& options, const Words& args, int)
{
    std::string rest;
    for (const std::string& word : args) {
        if (!rest.empty())
            rest += ' ';
        rest += word;
    }
    return StartMonitor(options, rest);
}

int RunError(const Options& options, const Words& args, int)
{
    DWORD category, code;
    if (!Number(args, 0, "error category", &category) || !Number(args, 1, "error code", &code))
        return ExitUsage;
    return Send(options, LVWM_ERROR, category, code);
}

int RunOperation(const Options& options, const Words& args, int)
{
    DWORD operation;
    if (!Number(args, 0, "operation", &operation))
        return ExitUsage;
    return Send(options, LVWM_OPERATION, operation, 0);
}

int RunProgress(const Options& options, const Words& args, int)
{
    DWORD which, count;
    if (args[0] == "done")
        which = LV_PROGRESS_DONE;
    else if (args[0] == "total")
        which = LV_PROGRESS_TOTAL;
    else if (!Number(args, 0, "progress: done, total or a number", &which))
        return ExitUsage;
    if (!Number(args, 1, "page count", &count))
        return ExitUsage;
    return Send(options, LVWM_PROGRESS, which, count);
}

int RunShow(const Options& options, const Words&, int) { return Send(options, LVWM_APPSHOW, 0, 0); }
int RunMinimise(const Options& options, const Words&, int) { return Send(options, LVWM_APPMINIMUM, 0, 0); }
int RunInit(const Options& options, const Words&, int) { return Send(options, LVWM_APPINIT, 0, 0); }
int RunClose(const Options& options, const Words&, int) { return Send(options, LVWM_APPCLOSE, 0, 0); }

int RunState(const Options& options, const Words& args, int)
{
    DWORD state;
    if (!Number(args, 0, "state", &state))
        return ExitUsage;
    return Send(options, LVWM_SETSTATE, state, 0);
}

int RunAlert(const Options& options, const Words& args, int)
{
    DWORD sound = LV_ALERT_SOUND;
    if (!args.empty() && !Number(args, 0, "alert", &sound))
        return ExitUsage;
    return Send(options, LVWM_ALERT, sound, 0);
}

int RunJobWindow(const Options& options, const Words& args, int)
{
    DWORD which, handle;
    if (args[0] == "register")
        which = LV_JOB_REGISTER;
    else if (args[0] == "unregister")
        which = LV_JOB_UNREGISTER;
    else if (!Number(args, 0, "jobwindow: register, unregister or a number", &which))
        return ExitUsage;
    if (!Number(args, 1, "window handle", &handle))
        return ExitUsage;
    return Send(options, LVWM_JOBWINDOW, which, handle);
}

int RunSend(const Options& options, const Words& args, int)
{
    UINT message;
    if (!MessageByName(args[0], &message))
        return Fail(ExitUsage, "send: '%s' is neither a message name nor a number", args[0].c_str());
    if (message < WM_USER)
        return Fail(ExitUsage, "send: message %u is a system message (below WM_USER, %u) whose parameters "
                    "can be pointers: refused", message, static_cast<UINT>(WM_USER));
    DWORD wParam = 0, lParam = 0;
    if (args.size() > 1 && !Number(args, 1, "wParam", &wParam))
        return ExitUsage;
    if (args.size() > 2 && !Number(args, 2, "lParam", &lParam))
        return ExitUsage;
    return Send(options, message, wParam, lParam);
}

int RunDocName(const Options& options, const Words& args, int)
{
    int code = args[0] == "--remove" ? RemoveDocumentName() : PublishDocumentName(args[0]);
    if (code != ExitOk)
        return code;
    return Send(options, LVWM_DOCNAME, 0, 0);
}

int RunPrinter(const Options&, const Words& args, int)
{
    return PublishPrinterName(args[0]);
}

int RunJobCommand(const Options& options, const Words& args, int)
{
    JobOptions job;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--until-cancel") {
            job.untilCancel = true;
        } else if (args[i] == "--seconds" && i + 1 < args.size()) {
            if (!Number(args, ++i, "job --seconds", &job.seconds))
                return ExitUsage;
            if (job.seconds > kLongestJobSeconds)
                return Fail(ExitUsage, "job --seconds: at most %lu", kLongestJobSeconds);
        } else {
            return Fail(ExitUsage, "job: unexpected '%s' (usage: job [--seconds N] [--until-cancel])",
                        args[i].c_str());
        }
    }
    return RunJob(options, job);
}

int RunRead(const Options& options, const Words&, int) { return ReadPanel(options); }

int RunPress(const Options& options, const Words& args, int) { return PressPanelButton(options, args[0]); }

int RunPlay(const Options& options, const Words& args, int depth)
{
    return PlayScenario(options, args[0], depth + 1);
}

int RunTable(const Options&, const Words& args, int)
{
    if (!args.empty() && args[0] != "--markdown")
        return Fail(ExitUsage, "table: unexpected '%s' (usage: table [--markdown])", args[0].c_str());
    return PrintStatusTable(!args.empty());
}

int RunWait(const Options&, const Words& args, int)
{
    DWORD milliseconds;
    if (!Number(args, 0, "wait", &milliseconds))
        return ExitUsage;
    if (milliseconds > kLongestWaitMs)
        return Fail(ExitUsage, "wait: at most %lu ms", kLongestWaitMs);
    Sleep(milliseconds);
    return ExitOk;
}

int RunHelp(const Options&, const Words&, int)
{
    PrintUsage(stdout);
    return ExitOk;
}

const Command commands[] = {
    {"start", 0, -1, "start [ARGUMENTS...]", "run the monitor and wait for its window", RunStart},
    {"error", 2, 2, "error CATEGORY CODE", "status report (LVWM_ERROR)", RunError},
    {"operation", 1, 1, "operation CODE", "operation change: 1, 2, 10, 20 or 30", RunOperation},
    {"progress", 2, 2, "progress done|total COUNT", "page counts (LVWM_PROGRESS)", RunProgress},
    {"show", 0, 0, "show", "LVWM_APPSHOW", RunShow},
    {"minimise", 0, 0, "minimise", "LVWM_APPMINIMUM", RunMinimise},
    {"minimize", 0, 0, "minimize", nullptr, RunMinimise},
    {"init", 0, 0, "init", "LVWM_APPINIT: reset the panel", RunInit},
    {"close", 0, 0, "close", "LVWM_APPCLOSE", RunClose},
    {"state", 1, 1, "state STATE", "LVWM_SETSTATE: 0 ready, 1 warning, 2 error", RunState},
    {"alert", 0, 1, "alert [WPARAM]", "LVWM_ALERT, 1 by default", RunAlert},
    {"jobwindow", 2, 2, "jobwindow register|unregister HANDLE", "LVWM_JOBWINDOW", RunJobWindow},
    {"send", 1, 3, "send MESSAGE [WPARAM [LPARAM]]", "any message, by name or number", RunSend},
    {"docname", 1, 1, "docname TEXT|--remove", "publish the document name, then LVWM_DOCNAME", RunDocName},
    {"printer", 1, 1, "printer NAME", "publish the printer name", RunPrinter},
    {"job", 0, 3, "job [--seconds N] [--until-cancel]", "job window and cancel event", RunJobCommand},
    {"read", 0, 0, "read", "what the panel shows", RunRead},
    {"press", 1, 1, "press BUTTON", "click close, help, cancel-job, options, queue or properties", RunPress},
    {"play", 1, 1, "play FILE", "run a scenario: one command a line, # comments", RunPlay},
    {"table", 0, 1, "table [--markdown]", "the status text table", RunTable},
    {"wait", 1, 1, "wait MS", "pause", RunWait},
    {"help", 0, 0, "help", "this text", RunHelp},
};

const int kDeepestScenario = 8;

}  // namespace

void PrintUsage(FILE* stream)
{
    fprintf(stream,
            "usage: lvsend [--class NAME] [--exe PATH] [--timeout MS] COMMAND [ARGUMENTS]\n"
            "Numbers are decimal or 0x hex, 32 bits, negative allowed.\n"
            "Commands:\n");
    for (const Command& command : commands) {
        if (command.summary != nullptr)
            fprintf(stream, "  %-38s %s\n", command.syntax, command.summary);
    }
    fprintf(stream, "Exit codes: 0 done, 1 usage, 2 no monitor or no answer, 3 other failure.\n");
    fflush(stream);
}

int RunCommand(const Options& options, const Words& words, int depth)
{
    if (words.empty())
        return Fail(ExitUsage, "no command (try: lvsend help)");
    if (depth > kDeepestScenario)
        return Fail(ExitUsage, "scenarios nested more than %d deep", kDeepestScenario);
    for (const Command& command : commands) {
        if (words[0] != command.name)
            continue;
        Words args(words.begin() + 1, words.end());
        int count = static_cast<int>(args.size());
        if (count < command.minArgs || (command.maxArgs >= 0 && count > command.maxArgs))
            return Fail(ExitUsage, "%s: wrong number of arguments (usage: %s)", command.name, command.syntax);
        return command.run(options, args, depth);
    }
    return Fail(ExitUsage, "unknown command '%s' (try: lvsend help)", words[0].c_str());
}
