// lvsend: speaks the monitor's window protocol from the print side, for
// integrators and tests. See `lvsend help`.
#include <string.h>

#include "commands.h"
#include "lvps.h"
#include "output.h"

int main(int argc, char** argv)
{
    PrepareOutput();
    Options options;
    options.className = LV_DEFAULT_CLASS;

    int next = 1;
    while (next < argc && strncmp(argv[next], "--", 2) == 0) {
        std::string option = argv[next];
        if (option == "--help") {
            PrintUsage(stdout);
            return ExitOk;
        }
        if (next + 1 >= argc)
            return Fail(ExitUsage, "%s needs a value", option.c_str());
        std::string value = argv[next + 1];
        if (option == "--class") {
            options.className = value;
            options.classGiven = true;
        } else if (option == "--exe") {
            options.exePath = value;
        } else if (option == "--timeout") {
            DWORD timeout = 0;
            if (!ParseNumber(value, &timeout) || timeout == 0 || timeout > 600000)
                return Fail(ExitUsage, "--timeout: '%s' is not a time from 1 to 600000 ms", value.c_str());
            options.timeoutMs = timeout;
        } else {
            return Fail(ExitUsage, "unknown option %s (try: lvsend help)", option.c_str());
        }
        next += 2;
    }

    Words words(argv + next, argv + argc);
    if (words.empty()) {
        PrintUsage(stderr);
        return ExitUsage;
    }
    return RunCommand(options, words, 0);
}
