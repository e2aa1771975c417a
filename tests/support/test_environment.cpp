#include "test_environment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>

std::string TestEnvironment(const char* name, const char* file, int line)
{
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        ADD_FAILURE_AT(file, line) << "environment variable " << name << " is not set";
    return value;
}

std::string CurrentTestName()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "lvtest";
    std::string clean;
    for (char c : name)
        clean += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_';
    // Keep the executable name short; the tail is the distinctive part.
    if (clean.size() > 60)
        clean = clean.substr(clean.size() - 60);
    return clean;
}

static void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path + "\\");
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            RemoveDirectoryA(path.c_str());
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string TestWorkDir()
{
    // Emptied once per test, so that several copies can share it.
    static std::string preparedFor;
    std::string folder = TestEnvironment("LUMEVIEW_TEST_WORK") + "\\" + CurrentTestName() + "\\";
    if (preparedFor != folder) {
        CreateDirectoryA(TestEnvironment("LUMEVIEW_TEST_WORK").c_str(), nullptr);
        RemoveTree(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        preparedFor = folder;
    }
    return folder;
}
