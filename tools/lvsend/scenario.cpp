#include "scenario.h"

#include <stdio.h>

#include "commands.h"
#include "output.h"

namespace {

// Scenario files are small; a larger one is a mistake.
const long kLargestScenario = 1 << 20;

bool ReadWholeFile(const std::string& path, std::string* content)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char chunk[4096];
    size_t got;
    bool ok = true;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) {
        content->append(chunk, got);
        if (static_cast<long>(content->size()) > kLargestScenario) {
            ok = false;
            break;
        }
    }
    fclose(file);
    return ok;
}

}  // namespace

int PlayScenario(const Options& options, const std::string& path, int depth)
{
    std::string content;
    if (!ReadWholeFile(path, &content))
        return Fail(ExitFailure, "cannot read the scenario %s", path.c_str());
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0)
        content.erase(0, 3);

    int lineNumber = 0;
    size_t position = 0;
    while (position < content.size()) {
        size_t end = content.find('\n', position);
        if (end == std::string::npos)
            end = content.size();
        std::string line, bad;
        bool convertible = Cp1252FromUtf8(content.substr(position, end - position), &line, &bad);
        position = end + 1;
        ++lineNumber;

        std::string place = path + ":" + std::to_string(lineNumber);
        Words words;
        std::string error;
        if (!convertible)
            error = bad + " has no form in code page 1252, the monitor's";
        if (!convertible || !SplitLine(line, &words, &error)) {
            SetErrorPlace(place);
            Fail(ExitUsage, "%s", error.c_str());
            SetErrorPlace("");
            return ExitUsage;
        }
        if (words.empty())
            continue;
        SetErrorPlace(place);
        int code = RunCommand(options, words, depth);
        SetErrorPlace("");
        if (code != ExitOk)
            return code;
    }
    return ExitOk;
}
