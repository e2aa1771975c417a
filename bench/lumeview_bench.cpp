// Measures the monitor beside the platform's own limits, measured in the
// same run: the floor program (the monitor's own panel doing only what
// showing a state needs), a minimal program with one window, a WM_NULL
// round trip to the monitor's window. Prints one table; each figure is the
// median of repeated runs, the longest waits percentiles of one long run.
#include <windows.h>

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "pe_image.h"
#include "process_memory.h"

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
    bool icon = false;       // the monitor with its notification-area icon on
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

// Round trips of `count` sends one by one, in microseconds. A send that
// ran out of time ends the run, its wait counted as the longest.
std::vector<double> EachRoundTripUs(HWND window, const UINT* messages, const WPARAM* wParams, const LPARAM* lParams,
                                    int kinds, int count)
{
    std::vector<double> trips;
    trips.reserve(count);
    for (int i = 0; i < count; ++i) {
        double started = NowMs();
        bool answered = Send(window, messages[i % kinds], wParams[i % kinds], lParams[i % kinds]);
        trips.push_back((NowMs() - started) * 1000.0);
        if (!answered)
            break;
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

double Kilobytes(SIZE_T bytes)
{
    return bytes / 1024.0;
}

// The distinct DLL names of an executable's import table.
std::vector<std::string> ImportedDlls(const std::string& path)
{
    std::vector<std::string> names;
    for (const PeImport& import : ReadImports(ReadProgramImage(path))) {
        if (names.empty() || names.back() != import.dll)
            names.push_back(import.dll);
    }
    return names;
}

// True when the executable names `dll` somewhere in its bytes: a DLL it
// loads itself at first use rather than through its import table.
bool NamesDll(const std::string& exePath, const char* dll)
{
    std::string bytes = ReadProgramImage(exePath);
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
        } else if (word == "--icon")
            settings->icon = true;
        else if (word == "--monitor" && i + 1 < argc)
            settings->monitorExe = argv[++i];
        else if (word == "--minimal" && i + 1 < argc)
            settings->minimalExe = argv[++i];
        else if (word == "--floor" && i + 1 < argc)
            settings->floorExe = argv[++i];
        else {
            fprintf(stderr, "usage: lumeview_bench [--quick] [--icon] [--runs N] [--reports N] [--monitor EXE] [--minimal EXE]"
                            " [--floor EXE]\n");
            return false;
        }
    }
    return true;
}

// The programs of the bench, copied into one folder of its own, the
// monitor with the alert off and always shown, so that reports never close it.
struct Programs {
    std::string monitor, minimal, floor;
};

bool PrepareWorkFolder(const Settings& settings, Programs* programs)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string work = std::string(temp) + "lvbench\\";
    CreateDirectoryA(work.c_str(), nullptr);
    programs->monitor = work + "lumeview.exe";
    programs->minimal = work + "minimal.exe";
    programs->floor = work + "floor.exe";
    if (!CopyInto(settings.monitorExe, programs->monitor) || !CopyInto(settings.minimalExe, programs->minimal) ||
        !CopyInto(settings.floorExe, programs->floor))
        return false;
    std::string ini = "[Status Monitor]\r\nevent_notification_type=1\r\nsound_audio_alert=0\r\n";
    if (settings.icon)
        ini += "notification_area_icon=1\r\n";
    HANDLE iniFile = CreateFileA((work + "lumeview.INI").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (iniFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL wrote = WriteFile(iniFile, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
    CloseHandle(iniFile);
    return wrote && written == ini.size();
}

// One program's starts to its visible window, and its memory then.
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
    ProcessMemory memory;
    if (!ReadMemoryCounters(program.Process(), &memory)) {
        fprintf(stderr, "lumeview_bench: no memory reading of %s\n", exe.c_str());
        return false;
    }
    if (counts) {
        figures->startMs.push_back(elapsed);
        figures->workingSetKb.push_back(Kilobytes(memory.workingSet));
        figures->privateKb.push_back(Kilobytes(memory.privateBytes));
    }
    return true;
}

// Start to visible window, the programs taking turns, and the memory each
// holds then. The first start of each fills the file cache; it does not count.
bool StartFigure(const Programs& programs, int runs)
{
    StartFigures monitor, minimal, floor;
    for (int run = 0; run < runs + 1; ++run) {
        if (!MeasureStart(programs.minimal, kMinimalClass, run > 0, &minimal) ||
            !MeasureStart(programs.floor, kFloorClass, run > 0, &floor) ||
            !MeasureStart(programs.monitor, kMonitorClass, run > 0, &monitor))
            return false;
    }
    double monitorMs = Median(monitor.startMs);
    Row("start to visible window", Format("%.1f ms", monitorMs), Format("%.1f ms floor program", Median(floor.startMs)),
        Format("%.2f", monitorMs / Median(floor.startMs)), "<= 1.10");
    Row("  against the minimal program", "", Format("%.1f ms minimal program", Median(minimal.startMs)),
        Format("%.2f", monitorMs / Median(minimal.startMs)), "information");
    Row("working set after start", Format("%.0f KB", Median(monitor.workingSetKb)),
        Format("%.0f KB minimal program", Median(minimal.workingSetKb)),
        Format("%.2f", Median(monitor.workingSetKb) / Median(minimal.workingSetKb)), "");
    Row("private bytes after start", Format("%.0f KB", Median(monitor.privateKb)),
        Format("%.0f KB minimal program", Median(minimal.privateKb)), "", "");
    return true;
}

// The three programs running side by side for the figures that follow.
struct Running {
    Program minimal, floor, monitor;
};

// A status report's round trip against WM_NULL's, both to the monitor;
// WM_NULL's median round trip in microseconds.
double RoundTripFigure(HWND monitor, int runs, int batch)
{
    std::vector<double> nullTrips, reportTrips;
    for (int run = 0; run < runs; ++run) {
        nullTrips.push_back(RoundTripUs(monitor, WM_NULL, 0, 0, batch));
        reportTrips.push_back(RoundTripUs(monitor, LVWM_ERROR, OPECALL_RECOVER, 2, batch));
    }
    double nullUs = Median(nullTrips);
    double reportUs = Median(reportTrips);
    Row("status report round trip, alert off", Format("%.1f us", reportUs), Format("%.1f us WM_NULL", nullUs),
        Format("%.2f", reportUs / nullUs), "<= 1.3");
    Row("status reports per second", Format("%.0f", 1e6 / reportUs), Format("%.0f WM_NULL", 1e6 / nullUs), "", "");
    return nullUs;
}

// State-changing reports with their repaints, against the floor program's.
void ChangingReportFigure(HWND monitor, HWND floor, int runs, int batch, double nullUs)
{
    std::vector<double> changing, floorChanging;
    for (int run = 0; run < runs; ++run) {
        changing.push_back(ChangingReportsUs(monitor, batch / 4));
        floorChanging.push_back(ChangingReportsUs(floor, batch / 4));
    }
    double changingUs = Median(changing);
    double floorUs = Median(floorChanging);
    Row("state-changing report, with repaint", Format("%.1f us", changingUs), Format("%.1f us floor program", floorUs),
        Format("%.2f", changingUs / floorUs), "<= 1.3");
    Row("  against WM_NULL", "", Format("%.1f us WM_NULL", nullUs), Format("%.2f", changingUs / nullUs),
        "information");
}

// A whole repaint of the panel against the floor program's and the
// minimal window's.
void RepaintFigure(const Running& running, int runs)
{
    std::vector<double> panel, floor, minimal;
    for (int run = 0; run < runs; ++run) {
        panel.push_back(RepaintMs(running.monitor.Window(), 20));
        floor.push_back(RepaintMs(running.floor.Window(), 20));
        minimal.push_back(RepaintMs(running.minimal.Window(), 20));
    }
    double panelMs = Median(panel);
    Row("full repaint of the panel", Format("%.2f ms", panelMs), Format("%.2f ms floor program", Median(floor)),
        Format("%.2f", panelMs / Median(floor)), "<= 1.2");
    Row("  against the minimal window", "", Format("%.2f ms minimal window", Median(minimal)),
        Format("%.2f", panelMs / Median(minimal)), "information");
}

// The print side's longest waits: as many WM_NULL round trips first, then
// reports of every kind of state one by one, with the memory they leave;
// the floor program's, over a tenth as many (at least a thousand) reports
// that each change its look, shows what of those waits the platform's own repaints cost.
bool LongRunFigure(HWND monitor, HWND floor, HANDLE process, int reports)
{
    static const UINT nullMessage[] = {WM_NULL};
    static const WPARAM nullParam[] = {0};
    static const LPARAM nullCode[] = {0};
    std::vector<double> nullWaits = EachRoundTripUs(monitor, nullMessage, nullParam, nullCode, 1, reports);
    static const UINT reportMessages[] = {LVWM_ERROR, LVWM_ERROR, LVWM_ERROR, LVWM_ERROR};
    static const WPARAM categories[] = {OPECALL_RECOVER, OPECALL_WARNING, CATEGORY_NONE, OPECALL_RECOVER};
    static const LPARAM codes[] = {2, 1, 0, 5};
    ProcessMemory started, warmed, after;
    if (!ReadMemoryCounters(process, &started))
        return false;
    std::vector<double> waits = EachRoundTripUs(monitor, reportMessages, categories, codes, 4, reports / 10);
    if (!ReadMemoryCounters(process, &warmed))
        return false;
    std::vector<double> later = EachRoundTripUs(monitor, reportMessages, categories, codes, 4, reports - reports / 10);
    if (!ReadMemoryCounters(process, &after))
        return false;
    waits.insert(waits.end(), later.begin(), later.end());
    static const WPARAM floorCategories[] = {OPECALL_RECOVER, OPECALL_RECOVER};
    static const LPARAM floorCodes[] = {2, 5};
    std::vector<double> floorWaits =
        EachRoundTripUs(floor, reportMessages, floorCategories, floorCodes, 2, std::max(1000, reports / 10));

    char label[64];
    snprintf(label, sizeof label, "longest waits over %u reports", static_cast<unsigned>(waits.size()));
    Row(label, "", "", "", "");
    double nullP99 = Percentile(nullWaits, 0.99);
    Row("  99th percentile of one round trip", Format("%.1f us", Percentile(waits, 0.99)),
        Format("%.1f us WM_NULL", nullP99), Format("%.2f", Percentile(waits, 0.99) / nullP99), "<= 2");
    Row("    the floor program's", "", Format("%.1f us floor program", Percentile(floorWaits, 0.99)),
        Format("%.2f", Percentile(floorWaits, 0.99) / nullP99), "information");
    double nullP999 = Percentile(nullWaits, 0.999);
    Row("  99.9th percentile", Format("%.1f us", Percentile(waits, 0.999)), Format("%.1f us WM_NULL", nullP999),
        Format("%.2f", Percentile(waits, 0.999) / nullP999), "");
    Row("  longest", Format("%.1f ms", Percentile(waits, 1.0) / 1000.0),
        Format("%.1f ms WM_NULL", Percentile(nullWaits, 1.0) / 1000.0), "", "<= 50 ms");
    snprintf(label, sizeof label, "working set after %u reports", static_cast<unsigned>(waits.size()));
    Row(label, Format("%.0f KB", Kilobytes(after.workingSet)),
        Format("%.0f KB before them", Kilobytes(started.workingSet)), "", "");
    Row("  growth after the first tenth",
        Format("%+.0f KB", Kilobytes(after.workingSet) - Kilobytes(warmed.workingSet)), "", "", "none");
    Row("  private bytes growth, same span",
        Format("%+.0f KB", Kilobytes(after.privateBytes) - Kilobytes(warmed.privateBytes)), "", "", "none");
    return true;
}

// The monitor's file and the DLLs it imports or loads at first use.
void SizeFigure(const Settings& settings)
{
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
}

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!ParseArguments(argc, argv, &settings))
        return 1;
    Programs programs;
    if (!PrepareWorkFolder(settings, &programs))
        return 1;
    fprintf(stderr, "lumeview_bench: %d runs of each figure under %s\n", settings.runs, WineVersion());
    printf("lumeview benchmark under %s: median of %d runs%s\n\n", WineVersion(), settings.runs,
           settings.icon ? ", notification-area icon on" : "");
    printf("| %-38s | %14s | %-30s | %7s | %-14s |\n", "figure", "lumeview", "platform limit, same run", "ratio", "aim");
    printf("|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(16, '-').c_str(),
           std::string(32, '-').c_str(), std::string(9, '-').c_str(), std::string(16, '-').c_str());
    if (!StartFigure(programs, settings.runs))
        return 2;

    Running running;
    if (!running.minimal.Start(programs.minimal, kMinimalClass, nullptr) ||
        !running.floor.Start(programs.floor, kFloorClass, nullptr) ||
        !running.monitor.Start(programs.monitor, kMonitorClass, nullptr)) {
        fprintf(stderr, "lumeview_bench: a program showed no window\n");
        return 2;
    }
    HWND monitor = running.monitor.Window();
    const int batch = 1000;
    // Warm-up: the first reports load code and texts.
    RoundTripUs(monitor, LVWM_ERROR, OPECALL_RECOVER, 2, batch);
    RoundTripUs(monitor, WM_NULL, 0, 0, batch);
    ChangingReportsUs(running.floor.Window(), batch / 4);
    double nullUs = RoundTripFigure(monitor, settings.runs, batch);
    ChangingReportFigure(monitor, running.floor.Window(), settings.runs, batch, nullUs);
    RepaintFigure(running, settings.runs);
    if (!LongRunFigure(monitor, running.floor.Window(), running.monitor.Process(), settings.reports)) {
        fprintf(stderr, "lumeview_bench: no memory reading of the monitor\n");
        return 2;
    }
    SizeFigure(settings);
    return 0;
}
