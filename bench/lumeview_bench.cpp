// Measures the monitor beside the platform's own limits, measured in the
// same run: the floor program (the monitor's own panel doing only what
// showing a state needs), a minimal program with one window, a WM_NULL
// round trip to the monitor's window. Prints one table; each figure is the
// median of repeated runs, the longest waits percentiles of one long run.
#include <windows.h>
#include <psapi.h>

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lumeview/protocol.h"

namespace {

const char kMonitorClass[] = "LUMEVIEW";
const char kMinimalClass[] = "LVBENCH_MINIMAL";
const char kFloorClass[] = "LVBENCH_FLOOR";
const DWORD kSendTimeoutMs = 5000;
const DWORD kStartTimeoutMs = 20000;

struct Settings {
    std::string monitorExe;  // the built lumeview.exe
    std::string minimalExe;  // the built one-window baseline
    std::string floorExe;    // the built floor program
    int runs = 15;           // repetitions of every measurement
    int reports = 100000;    // reports before the second working-set reading
};

double NowMs()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::string Folder(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

DWORD FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return data.nFileSizeLow;
}

// A program started for one measurement, closed when it goes out of scope.
class Program {
public:
    Program() = default;
    ~Program() { Stop(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts exe and waits until a visible window of className exists;
    // the time from the start to that moment in *elapsedMs.
    bool Start(const std::string& exe, const char* className, double* elapsedMs)
    {
        className_ = className;
        std::string line = "\"" + exe + "\"";
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string folder = Folder(exe);
        double started = NowMs();
        if (!CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &process_))
            return false;
        for (;;) {
            HWND found = FindWindowA(className, nullptr);
            if (found && IsWindowVisible(found)) {
                window_ = found;
                break;
            }
            if (WaitForSingleObject(process_.hProcess, 1) == WAIT_OBJECT_0 || NowMs() - started > kStartTimeoutMs)
                return false;
        }
        if (elapsedMs)
            *elapsedMs = NowMs() - started;
        return true;
    }

    void Stop()
    {
        if (!process_.hProcess)
            return;
        if (window_)
            PostMessageA(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
        window_ = nullptr;
    }

    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.hProcess; }

private:
    const char* className_ = nullptr;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
};

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

// Mean time of one round trip over `count` sends, in microseconds.
double RoundTripUs(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int count)
{
    double started = NowMs();
    for (int i = 0; i < count; ++i) {
        if (!Send(window, message, wParam, lParam))
            return -1.0;
    }
    return (NowMs() - started) * 1000.0 / count;
}

// Mean round trip of reports that change the state each time: paper jam
// (Error) and copying (Ready) in turn. Each change repaints the panel
// between two reports, so the repaint is part of the figure.
double ChangingReportsUs(HWND window, int count)
{
    double started = NowMs();
    for (int i = 0; i < count; ++i) {
        if (!Send(window, LVWM_ERROR, OPECALL_RECOVER, i % 2 ? 5 : 2))
            return -1.0;
    }
    // The last change's repaint as well.
    Send(window, WM_NULL, 0, 0);
    return (NowMs() - started) * 1000.0 / count;
}

// Round trips of `count` sends one by one, in microseconds.
std::vector<double> EachRoundTripUs(HWND window, const UINT* messages, const WPARAM* wParams, const LPARAM* lParams,
                                    int kinds, int count)
{
    std::vector<double> trips;
    trips.reserve(count);
    for (int i = 0; i < count; ++i) {
        double started = NowMs();
        if (!Send(window, messages[i % kinds], wParams[i % kinds], lParams[i % kinds]))
            break;
        trips.push_back((NowMs() - started) * 1000.0);
    }
    return trips;
}

// The value below which the share `part` of the values lie.
double Percentile(std::vector<double> values, double part)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t rank = static_cast<size_t>(part * values.size());
    return values[std::min(rank, values.size() - 1)];
}

// Mean time of a whole-window repaint, children included, in milliseconds.
// The closing WM_NULL makes sure the painting thread has finished.
double RepaintMs(HWND window, int count)
{
    double started = NowMs();
    for (int i = 0; i < count; ++i) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Send(window, WM_NULL, 0, 0);
    }
    return (NowMs() - started) / count;
}

struct Memory {
    double workingSetKb = 0;
    double privateKb = 0;
};

Memory MemoryOf(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    Memory memory;
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        memory.workingSetKb = counters.WorkingSetSize / 1024.0;
        memory.privateKb = counters.PagefileUsage / 1024.0;
    }
    return memory;
}

// The DLL names of an executable's import table, read from the file.
std::vector<std::string> ImportedDlls(const std::string& path)
{
    std::vector<std::string> names;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return names;
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    const BYTE* base = mapping ? static_cast<const BYTE*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) : nullptr;
    DWORD size = GetFileSize(file, nullptr);
    if (base && size > sizeof(IMAGE_DOS_HEADER)) {
        const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const IMAGE_NT_HEADERS32* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
        // Turns an address of the loaded image into an offset in the file.
        auto offsetOf = [&](DWORD rva) -> DWORD {
            for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
                const IMAGE_SECTION_HEADER& s = sections[i];
                if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                    return rva - s.VirtualAddress + s.PointerToRawData;
            }
            return 0;
        };
        DWORD at = offsetOf(imports.VirtualAddress);
        while (at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= size) {
            const IMAGE_IMPORT_DESCRIPTOR* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + at);
            if (entry->Name == 0)
                break;
            DWORD nameAt = offsetOf(entry->Name);
            if (nameAt && nameAt < size)
                names.emplace_back(reinterpret_cast<const char*>(base + nameAt), strnlen(reinterpret_cast<const char*>(base + nameAt), size - nameAt));
            at += sizeof(IMAGE_IMPORT_DESCRIPTOR);
        }
    }
    if (base)
        UnmapViewOfFile(base);
    if (mapping)
        CloseHandle(mapping);
    CloseHandle(file);
    return names;
}

// True when the executable names `dll` somewhere in its bytes: a DLL it
// loads itself at first use rather than through its import table.
bool NamesDll(const std::string& exePath, const char* dll)
{
    HANDLE file = CreateFileA(exePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    for (char& c : bytes)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return bytes.find(dll) != std::string::npos;
}

// Size of the file the loader takes for a DLL name; 0 when not found.
DWORD DllFileSize(const std::string& name)
{
    HMODULE module = LoadLibraryExA(name.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module)
        return 0;
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(module, path, sizeof path);
    DWORD size = length && length < sizeof path ? FileSize(path) : 0;
    FreeLibrary(module);
    return size;
}

const char* WineVersion()
{
    typedef const char*(CDECL * VersionFunction)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    FARPROC found = ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr;
    VersionFunction version = reinterpret_cast<VersionFunction>(reinterpret_cast<void*>(found));
    return version ? version() : "no Wine";
}

void Row(const char* figure, const std::string& value, const std::string& limit, const std::string& ratio,
         const char* aim)
{
    printf("| %-38s | %14s | %-30s | %7s | %-14s |\n", figure, value.c_str(), limit.c_str(), ratio.c_str(), aim);
}

std::string Format(const char* format, double value)
{
    char text[64];
    snprintf(text, sizeof text, format, value);
    return text;
}

bool CopyInto(const std::string& from, const std::string& to)
{
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
        fprintf(stderr, "lumeview_bench: cannot copy %s to %s (error %lu)\n", from.c_str(), to.c_str(), GetLastError());
        return false;
    }
    return true;
}

bool ParseArguments(int argc, char** argv, Settings* settings)
{
    std::string own(MAX_PATH, '\0');
    own.resize(GetModuleFileNameA(nullptr, &own[0], MAX_PATH));
    settings->monitorExe = Folder(own) + "lumeview.exe";
    settings->minimalExe = Folder(own) + "bench_minimal.exe";
    settings->floorExe = Folder(own) + "bench_floor.exe";
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--runs" && i + 1 < argc)
            settings->runs = std::max(3, atoi(argv[++i]));
        else if (word == "--reports" && i + 1 < argc)
            settings->reports = std::max(1000, atoi(argv[++i]));
        else if (word == "--quick") {
            settings->runs = 3;
            settings->reports = 1000;
        } else if (word == "--monitor" && i + 1 < argc)
            settings->monitorExe = argv[++i];
        else if (word == "--minimal" && i + 1 < argc)
            settings->minimalExe = argv[++i];
        else if (word == "--floor" && i + 1 < argc)
            settings->floorExe = argv[++i];
        else {
            fprintf(stderr, "usage: lumeview_bench [--quick] [--runs N] [--reports N] [--monitor EXE] [--minimal EXE]"
                            " [--floor EXE]\n");
            return false;
        }
    }
    return true;
}

// One program's start to its visible window, and its memory then.
struct StartFigures {
    std::vector<double> startMs, workingSetKb, privateKb;
};

bool MeasureStart(const std::string& exe, const char* className, bool counts, StartFigures* figures)
{
    Program program;
    double elapsed = 0;
    if (!program.Start(exe, className, &elapsed)) {
        fprintf(stderr, "lumeview_bench: %s showed no window\n", exe.c_str());
        return false;
    }
    Sleep(200);
    Memory memory = MemoryOf(program.Process());
    if (counts) {
        figures->startMs.push_back(elapsed);
        figures->workingSetKb.push_back(memory.workingSetKb);
        figures->privateKb.push_back(memory.privateKb);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!ParseArguments(argc, argv, &settings))
        return 1;

    // The programs run from one folder of the bench's own, the monitor
    // with the alert off and always shown, so that reports never close it.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string work = std::string(temp) + "lvbench\\";
    CreateDirectoryA(work.c_str(), nullptr);
    std::string monitorExe = work + "lumeview.exe";
    std::string minimalExe = work + "minimal.exe";
    std::string floorExe = work + "floor.exe";
    if (!CopyInto(settings.monitorExe, monitorExe) || !CopyInto(settings.minimalExe, minimalExe) ||
        !CopyInto(settings.floorExe, floorExe))
        return 1;
    std::string ini = "[Status Monitor]\r\nevent_notification_type=1\r\nsound_audio_alert=0\r\n";
    HANDLE iniFile = CreateFileA((work + "lumeview.INI").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(iniFile, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
    CloseHandle(iniFile);

    const int runs = settings.runs;
    fprintf(stderr, "lumeview_bench: %d runs of each figure under %s\n", runs, WineVersion());

    // Start to visible window, the programs taking turns. The first start
    // of each fills the file cache; it does not count.
    StartFigures monitorStart, minimalStart, floorStart;
    for (int run = 0; run < runs + 1; ++run) {
        if (!MeasureStart(minimalExe, kMinimalClass, run > 0, &minimalStart) ||
            !MeasureStart(floorExe, kFloorClass, run > 0, &floorStart) ||
            !MeasureStart(monitorExe, kMonitorClass, run > 0, &monitorStart))
            return 2;
    }

    // Round trips and repaints against one running copy of each.
    Program minimal;
    Program floor;
    Program monitor;
    if (!minimal.Start(minimalExe, kMinimalClass, nullptr) || !floor.Start(floorExe, kFloorClass, nullptr) ||
        !monitor.Start(monitorExe, kMonitorClass, nullptr)) {
        fprintf(stderr, "lumeview_bench: a program showed no window\n");
        return 2;
    }
    HWND window = monitor.Window();
    const int batch = 1000;
    // Warm-up: the first reports load code and texts.
    RoundTripUs(window, LVWM_ERROR, OPECALL_RECOVER, 2, batch);
    RoundTripUs(window, WM_NULL, 0, 0, batch);
    ChangingReportsUs(floor.Window(), batch / 4);
    std::vector<double> nullTrips, reportTrips, changingTrips, floorChangingTrips;
    std::vector<double> panelRepaints, minimalRepaints, floorRepaints;
    for (int run = 0; run < runs; ++run) {
        nullTrips.push_back(RoundTripUs(window, WM_NULL, 0, 0, batch));
        reportTrips.push_back(RoundTripUs(window, LVWM_ERROR, OPECALL_RECOVER, 2, batch));
        changingTrips.push_back(ChangingReportsUs(window, batch / 4));
        floorChangingTrips.push_back(ChangingReportsUs(floor.Window(), batch / 4));
        panelRepaints.push_back(RepaintMs(window, 20));
        floorRepaints.push_back(RepaintMs(floor.Window(), 20));
        minimalRepaints.push_back(RepaintMs(minimal.Window(), 20));
    }

    // The longest waits: as many WM_NULL round trips first, then reports
    // of every kind of state one by one, with the memory they leave.
    static const UINT nullMessage[] = {WM_NULL};
    static const WPARAM nullParam[] = {0};
    static const LPARAM nullCode[] = {0};
    std::vector<double> nullWaits = EachRoundTripUs(window, nullMessage, nullParam, nullCode, 1, settings.reports);
    static const UINT reportMessages[] = {LVWM_ERROR, LVWM_ERROR, LVWM_ERROR, LVWM_ERROR};
    static const WPARAM categories[] = {OPECALL_RECOVER, OPECALL_WARNING, CATEGORY_NONE, OPECALL_RECOVER};
    static const LPARAM codes[] = {2, 1, 0, 5};
    Memory started = MemoryOf(monitor.Process());
    std::vector<double> reportWaits = EachRoundTripUs(window, reportMessages, categories, codes, 4, settings.reports / 10);
    Memory warmed = MemoryOf(monitor.Process());
    std::vector<double> laterWaits =
        EachRoundTripUs(window, reportMessages, categories, codes, 4, settings.reports - settings.reports / 10);
    Memory after = MemoryOf(monitor.Process());
    reportWaits.insert(reportWaits.end(), laterWaits.begin(), laterWaits.end());
    size_t sent = reportWaits.size();

    double nullUs = Median(nullTrips);
    double reportUs = Median(reportTrips);
    double monitorStartMs = Median(monitorStart.startMs);
    double minimalStartMs = Median(minimalStart.startMs);
    double floorStartMs = Median(floorStart.startMs);
    double panelRepaint = Median(panelRepaints);
    double minimalRepaint = Median(minimalRepaints);
    double floorRepaint = Median(floorRepaints);
    double changingUs = Median(changingTrips);
    double floorChangingUs = Median(floorChangingTrips);

    printf("lumeview benchmark under %s: median of %d runs\n\n", WineVersion(), runs);
    printf("| %-38s | %14s | %-30s | %7s | %-14s |\n", "figure", "lumeview", "platform limit, same run", "ratio", "aim");
    printf("|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(16, '-').c_str(),
           std::string(32, '-').c_str(), std::string(9, '-').c_str(), std::string(16, '-').c_str());
    Row("start to visible window", Format("%.1f ms", monitorStartMs), Format("%.1f ms floor program", floorStartMs),
        Format("%.2f", monitorStartMs / floorStartMs), "<= 1.10");
    Row("  against the minimal program", "", Format("%.1f ms minimal program", minimalStartMs),
        Format("%.2f", monitorStartMs / minimalStartMs), "information");
    Row("status report round trip, alert off", Format("%.1f us", reportUs), Format("%.1f us WM_NULL", nullUs),
        Format("%.2f", reportUs / nullUs), "<= 1.3");
    Row("status reports per second", Format("%.0f", 1e6 / reportUs), Format("%.0f WM_NULL", 1e6 / nullUs), "", "");
    Row("state-changing report, with repaint", Format("%.1f us", changingUs),
        Format("%.1f us floor program", floorChangingUs), Format("%.2f", changingUs / floorChangingUs), "<= 1.3");
    Row("  against WM_NULL", "", Format("%.1f us WM_NULL", nullUs), Format("%.2f", changingUs / nullUs),
        "information");
    Row("full repaint of the panel", Format("%.2f ms", panelRepaint), Format("%.2f ms floor program", floorRepaint),
        Format("%.2f", panelRepaint / floorRepaint), "<= 1.2");
    Row("  against the minimal window", "", Format("%.2f ms minimal window", minimalRepaint),
        Format("%.2f", panelRepaint / minimalRepaint), "information");
    char waitsLabel[64];
    snprintf(waitsLabel, sizeof waitsLabel, "longest waits over %u reports", static_cast<unsigned>(sent));
    Row(waitsLabel, "", "", "", "");
    double nullP99 = Percentile(nullWaits, 0.99);
    Row("  99th percentile of one round trip", Format("%.1f us", Percentile(reportWaits, 0.99)),
        Format("%.1f us WM_NULL", nullP99), Format("%.2f", Percentile(reportWaits, 0.99) / nullP99), "<= 2");
    double nullP999 = Percentile(nullWaits, 0.999);
    Row("  99.9th percentile", Format("%.1f us", Percentile(reportWaits, 0.999)),
        Format("%.1f us WM_NULL", nullP999), Format("%.2f", Percentile(reportWaits, 0.999) / nullP999), "");
    double longest = Percentile(reportWaits, 1.0);
    Row("  longest", Format("%.1f ms", longest / 1000.0), Format("%.1f ms WM_NULL", Percentile(nullWaits, 1.0) / 1000.0),
        "", "<= 50 ms");
    Row("working set after start", Format("%.0f KB", Median(monitorStart.workingSetKb)),
        Format("%.0f KB minimal program", Median(minimalStart.workingSetKb)),
        Format("%.2f", Median(monitorStart.workingSetKb) / Median(minimalStart.workingSetKb)), "");
    Row("private bytes after start", Format("%.0f KB", Median(monitorStart.privateKb)),
        Format("%.0f KB minimal program", Median(minimalStart.privateKb)), "", "");
    char reportsLabel[64];
    snprintf(reportsLabel, sizeof reportsLabel, "working set after %u reports", static_cast<unsigned>(sent));
    Row(reportsLabel, Format("%.0f KB", after.workingSetKb), Format("%.0f KB before them", started.workingSetKb), "", "");
    Row("  growth after the first tenth", Format("%+.0f KB", after.workingSetKb - warmed.workingSetKb), "", "", "none");
    Row("  private bytes growth, same span", Format("%+.0f KB", after.privateKb - warmed.privateKb), "", "", "none");
    Row("size of lumeview.exe", Format("%.0f KB", FileSize(settings.monitorExe) / 1024.0),
        Format("%.0f KB minimal program", FileSize(settings.minimalExe) / 1024.0), "", "");
    for (const std::string& dll : ImportedDlls(settings.monitorExe)) {
        std::string label = "  imports " + dll;
        Row(label.c_str(), Format("%.0f KB", DllFileSize(dll) / 1024.0), "", "", "");
    }
    // The spooler is loaded by the properties command, not at start-up.
    for (const char* dll : {"winspool.drv"}) {
        if (NamesDll(settings.monitorExe, dll)) {
            std::string label = std::string("  loads at first use ") + dll;
            Row(label.c_str(), Format("%.0f KB", DllFileSize(dll) / 1024.0), "", "", "");
        }
    }
    return 0;
}
