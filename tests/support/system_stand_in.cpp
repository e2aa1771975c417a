#include "system_stand_in.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "polling.h"
#include "test_files.h"

std::string SystemFolderPath(SystemFolder folder)
{
    char path[MAX_PATH] = {};
    UINT length = folder == SystemFolder::Windows ? GetWindowsDirectoryA(path, sizeof path)
                                                  : GetSystemDirectoryA(path, sizeof path);
    EXPECT_TRUE(length > 0 && length < sizeof path) << "no system folder";
    return path;
}

SystemProgramStandIn::SystemProgramStandIn(SystemFolder folder, const std::string& name, const char* recorder,
                                           const char* file, int line)
    : path(SystemFolderPath(folder) + "\\" + name), saved_(path + ".lumeview-saved"), file_(file), line_(line)
{
    DeleteFileA(RecorderLogPath(path).c_str());
    if (FileExists(path) && !MoveFileExA(path.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING))
        failure_ = path + " cannot be set aside, error " + std::to_string(GetLastError());
    else if (recorder && !InstallRecorder(path, recorder))
        failure_ = std::string("no ") + recorder + " at " + path;
    if (!failure_.empty())
        ADD_FAILURE_AT(file_, line_) << failure_;
}

testing::AssertionResult SystemProgramStandIn::installed() const
{
    if (!failure_.empty())
        return testing::AssertionFailure() << failure_;
    return testing::AssertionSuccess();
}

// The recorder may still be ending after its log line was read.
SystemProgramStandIn::~SystemProgramStandIn()
{
    DeleteFileA(RecorderLogPath(path).c_str());
    bool back = Eventually([&] {
        return FileExists(saved_) ? MoveFileExA(saved_.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE
                                  : DeleteFileA(path.c_str()) != FALSE || !FileExists(path);
    });
    if (!back)
        ADD_FAILURE_AT(file_, line_) << path << " not put back, error " << GetLastError();
}
