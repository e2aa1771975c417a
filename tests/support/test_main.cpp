// The entry point of every test program: GoogleTest's own main, except that
// the program does not end while one of its threads is still starting.
//
// GoogleTest starts a thread of its own the first time a test uses a
// per-thread value (SCOPED_TRACE, a failure), which in a table of pure
// cases can be microseconds before the program ends. Wine (8.0) kills a
// process's other threads at its exit with a signal, and a thread caught
// that early in its start takes the whole process down with SIGSEGV, after
// every test has passed. So before ending, the program waits, within a
// bound, until each of its live threads has reached its own code: the
// loader's thread-attach call to the callback below says so.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

namespace {

volatile LONG runningThreads = 0;  // threads past their start, the main one excluded

void NTAPI CountThreads(PVOID, DWORD reason, PVOID)
{
    if (reason == DLL_THREAD_ATTACH)
        InterlockedIncrement(&runningThreads);
    else if (reason == DLL_THREAD_DETACH)
        InterlockedDecrement(&runningThreads);
}

// Live threads of this process other than the calling one, or -1 when the
// system cannot list them.
long OtherLiveThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    long count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId())
            continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        DWORD code = 0;
        if (thread != nullptr && GetExitCodeThread(thread, &code) && code == STILL_ACTIVE)
            ++count;
        if (thread != nullptr)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return count;
}

void WaitForStartingThreads()
{
    const DWORD kBoundMs = 5000;
    DWORD began = GetTickCount();
    while (GetTickCount() - began < kBoundMs) {
        long live = OtherLiveThreads();
        if (live < 0 || live <= runningThreads)
            return;
        Sleep(5);
    }
}

}  // namespace

// The loader calls the program's TLS callbacks in each new thread once the
// system has set the thread up, before the thread's own function runs.
#ifdef _MSC_VER
#ifdef _M_IX86
#pragma comment(linker, "/INCLUDE:__tls_used")
#else
#pragma comment(linker, "/INCLUDE:_tls_used")
#endif
#pragma const_seg(".CRT$XLM")
extern "C" const PIMAGE_TLS_CALLBACK threadStartCallback = CountThreads;
#pragma const_seg()
#else
extern "C" __attribute__((section(".CRT$XLM"), used)) const PIMAGE_TLS_CALLBACK threadStartCallback = CountThreads;
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    WaitForStartingThreads();
    return result;
}
