#include "process_list.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <vector>

namespace {

// False when the processes cannot be listed at all.
bool ListProcessesOf(const std::string& exeName, std::vector<DWORD>* found)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0)
            found->push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return true;
}

}  // namespace

size_t RunningProcesses(const std::string& exeName, const char* file, int line)
{
    std::vector<DWORD> found;
    if (!ListProcessesOf(exeName, &found))
        ADD_FAILURE_AT(file, line) << "the running processes cannot be listed";
    return found.size();
}

void EndProcessesOf(const std::string& exeName)
{
    std::vector<DWORD> found;
    ListProcessesOf(exeName, &found);
    for (DWORD id : found) {
        HANDLE stray = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!stray)
            continue;
        TerminateProcess(stray, 99);
        WaitForSingleObject(stray, 5000);
        CloseHandle(stray);
    }
}
