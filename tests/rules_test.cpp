// The monitor's pure decisions, checked directly.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>

#include "protocol/protocol_rules.h"
#include "settings/setting_rules.h"
#include "shell/launch_rules.h"
#include "status_texts_expected.h"
#include "ui/help_route.h"
#include "ui/progress_rules.h"

TEST(ExecutableNames, ClassDirectoryAndSettingsFromPath)
{
    struct Case {
        const char* path;
        const char* className;
        const char* directory;
        const char* settings;
    } cases[] = {
        {"C:\\Tools\\lumeview.exe", "LUMEVIEW", "C:\\Tools\\", "C:\\Tools\\lumeview.INI"},
        {"C:\\Tools\\monitor.new.exe", "MONITOR", "C:\\Tools\\", "C:\\Tools\\monitor.INI"},
        {"C:\\My.Folder\\Lume.exe", "LUME", "C:\\My.Folder\\", "C:\\My.Folder\\Lume.INI"},
        {"C:\\a\\noextension", "NOEXTENSION", "C:\\a\\", "C:\\a\\noextension.INI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ExecutableNames names;
        DeriveExecutableNames(c.path, &names);
        EXPECT_STREQ(c.className, names.className);
        EXPECT_STREQ(c.directory, names.exeDirectory);
        EXPECT_STREQ(c.settings, names.settingsPath);
    }
}

TEST(ExecutableNames, EmptyPathOrOneWhoseSettingsPathDoesNotFitGivesFallbackClassAndNoPaths)
{
    std::string folder = "C:\\" + std::string(250, 'd') + "\\";
    // 259 characters each; the second has no extension to give way to ".INI".
    for (std::string path : {std::string(), folder + "a.bee", folder + std::string(5, 'n')}) {
        SCOPED_TRACE(path.size());
        ExecutableNames names;
        DeriveExecutableNames(path.c_str(), &names);
        bool fits = path.size() > 0 && path.find('.') != std::string::npos;
        EXPECT_STREQ(fits ? "A" : "Status Status Monitor", names.className);
        EXPECT_EQ(fits ? folder : "", names.exeDirectory);
        EXPECT_EQ(fits ? folder + "a.INI" : "", names.settingsPath);
    }
}

TEST(LaunchRule, CommandLineByNotificationMode)
{
    struct Case {
        const char* commandLine;
        bool printerNameMode;
        const char* rest;
        bool runs[3];  // modes 0, 1, 2
    } cases[] = {
        {"", false, "", {true, true, true}},
        {"/S", false, "/S", {false, true, false}},
        {"job.doc", false, "job.doc", {true, true, false}},
        {"/P", true, "", {true, true, true}},
        {"/P /S", true, "/S", {false, true, false}},
        {"/P  /S", true, " /S", {true, true, false}},
        {"/Pxyz", true, "xyz", {true, true, false}},
        {"/p", false, "/p", {true, true, false}},
        {"/s", false, "/s", {true, true, false}},
        {"/P/S", true, "/S", {false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("command line \"") + c.commandLine + "\"");
        CommandLine parsed = ParseCommandLine(c.commandLine);
        EXPECT_EQ(c.printerNameMode, parsed.printerNameMode);
        EXPECT_STREQ(c.rest, parsed.rest);
        for (LONG mode = 0; mode < 3; ++mode)
            EXPECT_EQ(c.runs[mode], LaunchAllowed(parsed.rest, mode)) << "mode " << mode;
        EXPECT_EQ(c.rest[0] != '\0', RestAsksForIsIcon(parsed.rest));
    }
}

TEST(LaunchRule, ArgumentsFollowTheProgramName)
{
    struct Case {
        const char* fullCommandLine;
        const char* arguments;
    } cases[] = {
        {"\"C:\\Program Files\\lv.exe\" /P /S", "/P /S"},
        {"C:\\Tools\\lumeview.exe /P", "/P"},
        {"C:\\P\xE9riph\xE9rique\\lumeview.exe /P", "/P"},
        {"C:\\P\xE9riph\xE9rique\\lumeview.exe", ""},
        {"C:\\a\xA0" "b.exe /S", "/S"},
        {"lumeview.exe\t/P", "/P"},
        {"lumeview.exe \x01\x1F /P ", "/P "},
        {"C:\\a\"b\\lv.exe /S", "/S"},
        {"\"C:\\x\\lv.exe\"/P", "/P"},
        {"\"C:\\x\\lv.exe /P", ""},
        {"\"\"  /S", "/S"},
        {"", ""},
        {"   ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("full command line \"") + c.fullCommandLine + "\"");
        EXPECT_STREQ(c.arguments, ArgumentsAfterProgramName(c.fullCommandLine));
    }
}

TEST(LaunchRule, UnknownModeRunsLikeAlwaysShow)
{
    EXPECT_TRUE(LaunchAllowed("/S", 7));
    EXPECT_TRUE(LaunchAllowed("x", -1));
}

TEST(Centring, TruncatesTowardZero)
{
    RECT wide = {0, 0, 1024, 768};
    EXPECT_EQ(299, CentredOrigin(wide, 425, 300).x);
    EXPECT_EQ(234, CentredOrigin(wide, 425, 300).y);
    RECT narrow = {0, 0, 400, 300};
    EXPECT_EQ(-12, CentredOrigin(narrow, 425, 300).x);
    RECT offset = {100, 50, 500, 351};
    EXPECT_EQ(100 + (400 - 101) / 2, CentredOrigin(offset, 101, 0).x);
    EXPECT_EQ(50 + 301 / 2, CentredOrigin(offset, 0, 0).y);
}

TEST(Fitting, AddsLeftFrameAndCaptionOnly)
{
    RECT mainWindow = {10, 20, 430, 320};
    RECT panel = {14, 43, 419, 303};
    SIZE size = FittedSize(mainWindow, panel);
    EXPECT_EQ(405 + 4, size.cx);
    EXPECT_EQ(260 + 23, size.cy);
}

TEST(ShowPolicy, ByModeAndReason)
{
    struct Case {
        LONG mode;
        unsigned reason;
        bool shows;
    } cases[] = {
        {0, 10, true}, {0, 20, false}, {0, 1, false}, {0, 30, false},
        {1, 10, true}, {1, 20, true}, {1, 1, true}, {1, 0, true},
        {2, 10, true}, {2, 20, false}, {2, 2, false},
        {7, 10, false}, {-1, 10, false}, {7, 20, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shows, ShowPolicyShows(c.mode, c.reason)) << "mode " << c.mode << " reason " << c.reason;
}

// Every report of the grid the report tests share, against the state
// written there by category and code; an error always sounds the alert.
TEST(StateRule, EveryCategoryAndBoundary)
{
    for (DWORD category : kReportCategories) {
        for (DWORD code : kReportCodes) {
            ExpectedState expected = ExpectedStateOf(category, code);
            StateDecision decision = DecideReportState(category, code);
            EXPECT_EQ(expected == kReady ? Ready : expected == kWarning ? Warning : Error, decision.state)
                << "(" << category << ", " << code << ")";
            EXPECT_EQ(expected == kErrorAlert, decision.alert) << "(" << category << ", " << code << ")";
        }
    }
}

TEST(IsIconRule, ExitValueByCloserModeAndWindow)
{
    struct Case {
        LONG closedByRequest;
        LONG mode;
        bool minimised;
        const char* value;
    } cases[] = {
        {0, 0, false, "1"}, {0, 0, true, "1"},
        {0, 1, false, "0"}, {0, 1, true, "1"}, {0, 2, false, "0"}, {0, 7, true, "1"},
        {1, 0, false, "0"}, {1, 0, true, "1"}, {1, 1, false, "0"}, {1, 2, true, "1"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.value, IsIconOnExit(c.closedByRequest, c.mode, c.minimised))
            << c.closedByRequest << "/" << c.mode << "/" << c.minimised;
}

TEST(SettingTexts, OnlyZeroOneOrTwoAreWritten)
{
    EXPECT_STREQ("1", AlertSettingText(1));
    EXPECT_STREQ("0", AlertSettingText(2));
    EXPECT_STREQ("0", AlertSettingText(5));
    EXPECT_STREQ("0", AlertSettingText(0));
    EXPECT_STREQ("1", NotificationSettingText(1));
    EXPECT_STREQ("2", NotificationSettingText(2));
    EXPECT_STREQ("0", NotificationSettingText(7));
    EXPECT_STREQ("0", NotificationSettingText(-1));
}

TEST(JoinDirectory, RefusesWhatDoesNotFitTheBuffer)
{
    const std::string directory = "C:\\Tools\\";
    const struct {
        std::string value;
        bool fits;
    } cases[] = {
        {"help.hlp", true},
        {std::string(259 - directory.size(), 'x'), true},
        {std::string(260 - directory.size(), 'x'), false},
        {std::string(300, 'x'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.size());
        char target[260] = "untouched";
        EXPECT_EQ(c.fits, JoinDirectory(target, sizeof target, directory.c_str(), c.value.c_str()));
        EXPECT_EQ(c.fits ? directory + c.value : "", target);
    }
}

TEST(ProgressWidth, ProportionAndLimits)
{
    struct Case {
        LONG done;
        LONG total;
        LONG inner;
        LONG filled;
    } cases[] = {
        {0, 10, 100, 0}, {5, 0, 100, 0}, {-3, 10, 100, 0}, {3, -10, 100, 0},
        {5, 10, 100, 50}, {1, 3, 100, 33}, {2, 3, 100, 66},
        {7, 5, 100, 100}, {5, 5, 190, 190},
        {LONG_MAX, LONG_MAX, 190, 190}, {LONG_MAX / 2, LONG_MAX, 190, 94},
        {30000000, 40000000, 190, 142},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.filled, ProgressFillWidth(c.done, c.total, c.inner))
            << c.done << " of " << c.total << " in " << c.inner;
}

TEST(PagesLine, ShownOnlyForCountsAboveZero)
{
    const struct {
        LONG done;
        LONG total;
        bool shown;
    } cases[] = {
        {3, 12, true}, {7, 5, true}, {1, 1, true}, {LONG_MAX, LONG_MAX, true},
        {0, 5, false}, {-2, 5, false}, {5, 0, false}, {3, -1, false}, {0, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, ProgressHasCounts(c.done, c.total)) << c.done << " of " << c.total;
}

namespace {

std::set<std::string>& ExistingPrograms()
{
    static std::set<std::string> programs;
    return programs;
}

bool InExistingPrograms(const char* path)
{
    return ExistingPrograms().count(path) != 0;
}

}  // namespace

TEST(CommandLineRule, ProgramQuotedArgumentsAsWrittenNothingWhenItDoesNotFit)
{
    ExistingPrograms() = {"D:\\Outils.exe", "D:\\Outils Brevik\\fileq.exe", "D:\\Outils Brevik\\Vue file\\q.exe",
                          "C:\\Program Files\\q.exe", "C:\\Program", "C:\\Tools\\fileq.exe", "monq.exe"};
    // Arguments that make the quoted line 259 characters long: all a 260-byte line holds.
    std::string filling(260 - sizeof "\"D:\\Outils Brevik\\fileq.exe\" ", 'x');
    const struct {
        const char* directory;
        std::string command;
        std::string line;  // empty: nothing to run
    } cases[] = {
        {"D:\\Outils Brevik\\", "fileq.exe /tous \"Bureau 12\"", "\"D:\\Outils Brevik\\fileq.exe\" /tous \"Bureau 12\""},
        {"D:\\Outils Brevik\\", "fileq.exe", "\"D:\\Outils Brevik\\fileq.exe\""},
        {"D:\\Outils Brevik\\", "Vue file\\q.exe  /a", "\"D:\\Outils Brevik\\Vue file\\q.exe\"  /a"},
        {"D:\\Outils Brevik\\", "\"Vue file\\q.exe\" /a", "\"D:\\Outils Brevik\\Vue file\\q.exe\" /a"},
        {"D:\\Outils Brevik\\", "absent.exe /a", ""},
        {"D:\\Outils Brevik\\", "", ""},
        {"D:\\Outils Brevik\\", "   ", ""},
        {"D:\\Outils Brevik\\", "fileq.exe " + filling, "\"D:\\Outils Brevik\\fileq.exe\" " + filling},
        {"D:\\Outils Brevik\\", "fileq.exe " + filling + "y", ""},
        {"C:\\Tools\\", "fileq.exe /tous", "C:\\Tools\\fileq.exe /tous"},
        {"", "C:\\Program Files\\q.exe /a", "\"C:\\Program Files\\q.exe\" /a"},
        {"", "\"C:\\Program Files\\q.exe\" /a", "\"C:\\Program Files\\q.exe\" /a"},
        {"", "\"monq.exe\" /m", "\"monq.exe\" /m"},
        {"", "monq.exe /m", "monq.exe /m"},
        {"", "\"\" /m", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.directory) + "|" + c.command.substr(0, 40));
        char line[260] = "untouched";
        EXPECT_EQ(!c.line.empty(), QuotedCommandLine(line, sizeof line, c.directory, c.command.c_str(), InExistingPrograms));
        EXPECT_EQ(c.line, line);
    }
}

TEST(CommandLineRule, QueueCommandIsDecidedWithinTheMonitorsFolderOrByAFullPath)
{
    ExistingPrograms() = {"D:\\Outils.exe", "D:\\Outils Brevik\\fileq.exe", "C:\\Program Files\\q.exe", "monq.exe"};
    const char* folder = "D:\\Outils Brevik\\";
    const struct {
        const char* queueCommand;
        const char* line;  // empty: nothing to run
    } cases[] = {
        {"D:\\Outils Brevik\\fileq.exe /a", "\"D:\\Outils Brevik\\fileq.exe\" /a"},
        {"D:\\Outils Brevik\\absent.exe /a", ""},  // never the shorter D:\Outils
        {"fileq.exe /a", "\"D:\\Outils Brevik\\fileq.exe\" /a"},
        {"monq.exe /m", ""},  // not beside the monitor: no search elsewhere
        {"\"C:\\Program Files\\q.exe\" /a", "\"C:\\Program Files\\q.exe\" /a"},
        {"C:\\Program Files\\q.exe /a", "\"C:\\Program Files\\q.exe\" /a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.queueCommand);
        char line[260] = "untouched";
        EXPECT_EQ(*c.line != '\0', QueueCommandLine(line, sizeof line, c.queueCommand, folder, InExistingPrograms));
        EXPECT_STREQ(c.line, line);
    }
}

TEST(ModulePathRule, FailedOrCutPathIsNoPath)
{
    const struct {
        DWORD length;
        bool fits;
    } cases[] = {{0, false}, {1, true}, {259, true}, {260, false}, {261, false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.fits, ModulePathFits(c.length)) << "length " << c.length;
}

TEST(HelpRoute, ByPlatformVersionAndFileName)
{
    const struct {
        DWORD platform;
        DWORD major;
        const char* file;
        HelpRoute route;
    } cases[] = {
        {VER_PLATFORM_WIN32_NT, 6, "C:\\m\\aide.hlp", HelpRoute::HtmlHelpIfBeside},   // Vista, 7
        {VER_PLATFORM_WIN32_NT, 10, "C:\\m\\AIDE.HLP", HelpRoute::HtmlHelpIfBeside},  // 10, 11
        {VER_PLATFORM_WIN32_NT, 5, "C:\\m\\aide.hlp", HelpRoute::WinHelp},            // XP
        {VER_PLATFORM_WIN32_WINDOWS, 4, "C:\\m\\aide.hlp", HelpRoute::WinHelp},       // 98
        {VER_PLATFORM_WIN32_NT, 5, "C:\\m\\lumeview.chm", HelpRoute::HtmlHelp},
        {VER_PLATFORM_WIN32_WINDOWS, 4, "C:\\m\\lumeview.CHM", HelpRoute::HtmlHelp},
        {VER_PLATFORM_WIN32_NT, 10, "C:\\m\\lumeview.chm", HelpRoute::HtmlHelp},
        {VER_PLATFORM_WIN32s, 3, "C:\\m\\lumeview.chm", HelpRoute::WinHelp},
        {VER_PLATFORM_WIN32_NT, 10, "C:\\m\\aide.txt", HelpRoute::WinHelp},
        {VER_PLATFORM_WIN32_NT, 10, "hlp", HelpRoute::WinHelp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.platform) + "." + std::to_string(c.major));
        EXPECT_EQ(c.route, RouteHelp(c.platform, c.major, c.file));
    }
    EXPECT_FALSE(SystemHasWinHelp(VER_PLATFORM_WIN32_NT, 6));
    EXPECT_TRUE(SystemHasWinHelp(VER_PLATFORM_WIN32_NT, 5));
    EXPECT_TRUE(SystemHasWinHelp(VER_PLATFORM_WIN32_WINDOWS, 6));
}

TEST(HelpRoute, ChmBesideReplacesTheExtensionOnlyWhenItFits)
{
    char chm[16];
    ASSERT_TRUE(ChmBeside("C:\\m\\aide.HLP", chm, sizeof chm));
    EXPECT_STREQ("C:\\m\\aide.chm", chm);
    EXPECT_TRUE(ChmBeside("C:\\m\\aide12.hlp", chm, sizeof chm)) << "15 bytes and the NUL";
    EXPECT_FALSE(ChmBeside("C:\\m\\aide123.hlp", chm, sizeof chm));
    EXPECT_FALSE(ChmBeside("C:\\m\\aide.txt", chm, sizeof chm));
}
