#include "system_stand_in.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "polling.h"
#include "recorder.h"
#include "test_files.h"

std::string SystemFolderPath(SystemFolder folder)
{
    char path[MAX_PATH] = {};
    UINT length = folder == SystemFolder::Windows ? GetWindowsDirectoryA(path, sizeof path)
                                                  : GetSystemDirectoryA(path, sizeof path);
    EXPECT_TRUE(length > 0 && length < sizeof path) << "no system folder";
    return path;
}

SystemProgramStandIn::SystemProgramStandIn(SystemFolder folder, const std::string& name)
    : path(SystemFolderPath(folder) + "\\" + name), saved_(path + ".lumeview-saved")
{
    DeleteFileA(RecorderLogPath(path).c_str());
    if (FileExists(path) && !MoveFileExA(path.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ADD_FAILURE() << path << " cannot be set aside, error " << GetLastError();
        return;
    }
    installed_ = InstallRecorder(path);
    EXPECT_TRUE(installed_) << "no recorder at " << path;
}

// The recorder may still be ending after its log line was read.
SystemProgramStandIn::~SystemProgramStandIn()
{
    DeleteFileA(RecorderLogPath(path).c_str());
    bool back = Eventually([&] {
        return FileExists(saved_) ? MoveFileExA(saved_.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE
                                  : DeleteFileA(path.c_str()) != FALSE || !FileExists(path);
    });
    EXPECT_TRUE(back) << path << " not put back, error " << GetLastError();
}
