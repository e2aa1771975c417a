// The monitor's own help file: its pages kept in step with the status table
// and the context numbers, and the built lumeview.chm opened by Wine's own
// HTML Help at the page of each state.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "process_metrics.h"
#include "protocol/protocol_rules.h"
#include "protocol/status_table.h"
#include "resource.h"
#include "settings_text.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

std::string SourceFile(const std::string& relative)
{
    return TestEnvironment("LUMEVIEW_SOURCE") + "\\" + relative;
}

// The page's markup back to the code page 1252 bytes the panel shows: the
// pages write accents as entities and line feeds as <br>.
std::string PanelText(std::string markup)
{
    static const std::pair<const char*, const char*> entities[] = {
        {"<br>", "\n"},        {"&eacute;", "\xE9"}, {"&egrave;", "\xE8"}, {"&ecirc;", "\xEA"},
        {"&agrave;", "\xE0"},  {"&acirc;", "\xE2"},  {"&ccedil;", "\xE7"}, {"&ocirc;", "\xF4"},
        {"&icirc;", "\xEE"},   {"&ugrave;", "\xF9"}, {"&ucirc;", "\xFB"},  {"&Eacute;", "\xC9"},
        {"&amp;", "&"}};
    for (const auto& [entity, byte] : entities)
        for (size_t at = markup.find(entity); at != std::string::npos; at = markup.find(entity, at + 1))
            markup.replace(at, strlen(entity), byte);
    return markup;
}

// The status texts a page heads its sections with.
std::multiset<std::string> SectionTexts(const std::string& page)
{
    const std::string markup = ReadFileBytes(SourceFile("help\\" + page));
    const std::regex heading("<h3 class=\"etat\">([^<]*(?:<br>[^<]*)*)</h3>");
    std::multiset<std::string> texts;
    for (std::sregex_iterator it(markup.begin(), markup.end(), heading), end; it != end; ++it)
        texts.insert(PanelText((*it)[1]));
    return texts;
}

// The texts of `wanted` that `found` lacks (counting repeats), one a line.
std::string Missing(const std::multiset<std::string>& wanted, std::multiset<std::string> found)
{
    std::string missing;
    for (const std::string& text : wanted) {
        auto it = found.find(text);
        if (it == found.end())
            missing += "\"" + text + "\"\n";
        else
            found.erase(it);
    }
    return missing;
}

// Name -> number of every context the monitor's resource header defines.
std::map<std::string, DWORD> ContextNumbers()
{
    const std::string header = ReadFileBytes(SourceFile("res\\resource.h"));
    const std::regex define("#define (IDH_[A-Z_]+) ([0-9]+)");
    std::map<std::string, DWORD> numbers;
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
        numbers[(*it)[1]] = std::stoul((*it)[2]);
    return numbers;
}

// The lines of one [SECTION] of the help project.
std::vector<std::string> ProjectSection(const std::string& name)
{
    const std::string project = ReadFileBytes(SourceFile("help\\lumeview.hhp"));
    std::vector<std::string> lines;
    bool inside = false;
    size_t start = 0;
    while (start < project.size()) {
        size_t end = project.find('\n', start);
        std::string line = project.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? project.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[')
            inside = line == "[" + name + "]";
        else if (inside && !line.empty() && line[0] != ';')
            lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(HelpFile, EveryTextOfTheWarningAndErrorStatesHeadsItsSection)
{
    std::multiset<std::string> warnings, errors;
    for (const StatusEntry* row = statusTable; row->message != 0; ++row) {
        if (!row->text || row->text[0] == '\0')
            continue;
        const DeviceState state = DecideReportState(static_cast<DWORD>(row->wParam), static_cast<DWORD>(row->lParam)).state;
        if (state == Warning)
            warnings.insert(row->text);
        else if (state == Error)
            errors.insert(row->text);
    }
    // Each text once, and no section for a text the table no longer has.
    const std::multiset<std::string> warningSections = SectionTexts("etat-avertissement.htm");
    const std::multiset<std::string> errorSections = SectionTexts("etat-erreur.htm");
    EXPECT_EQ("", Missing(warnings, warningSections)) << "warning texts without their section";
    EXPECT_EQ("", Missing(warningSections, warnings)) << "warning sections the table has no text for";
    EXPECT_EQ("", Missing(errors, errorSections)) << "error texts without their section";
    EXPECT_EQ("", Missing(errorSections, errors)) << "error sections the table has no text for";
    EXPECT_EQ(2u, warnings.size());
    EXPECT_EQ(37u, errors.size());
}

TEST(HelpFile, EveryContextNumberHasItsPage)
{
    std::map<std::string, std::string> pages;
    for (const std::string& line : ProjectSection("ALIAS"))
        pages[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    const std::vector<std::string> files = ProjectSection("FILES");
    const std::map<std::string, DWORD> numbers = ContextNumbers();
    ASSERT_EQ(15u, numbers.size());
    for (const auto& [name, number] : numbers) {
        SCOPED_TRACE(name + " " + std::to_string(number));
        ASSERT_EQ(1u, pages.count(name));
        EXPECT_NE(files.end(), std::find(files.begin(), files.end(), pages[name]));
        EXPECT_TRUE(FileExists(SourceFile("help\\" + pages[name])));
    }
    EXPECT_EQ(numbers.size(), pages.size()) << "an [ALIAS] names a context the monitor does not have";
}

namespace {

// The last page Wine's HTML Help navigated to since `from` in its trace
// (WINEDEBUG=+htmlhelp): this test's Unix stderr, and so the monitor's,
// goes to that file.
std::string LastNavigation(size_t from)
{
    const std::string trace = ReadFileBytes(TestEnvironment("LUMEVIEW_HELP_TRACE"));
    const size_t at = trace.rfind("navigate_url ");
    if (at == std::string::npos || at < from)
        return "";
    return trace.substr(at, trace.find('\n', at) - at);
}

size_t TraceSize() { return ReadFileBytes(TestEnvironment("LUMEVIEW_HELP_TRACE")).size(); }

// The HTML Help window the monitor's process shows, if any.
HWND HelpWindowOf(const MonitorCopy& monitor)
{
    for (HWND window : WindowsOfClass("HH Parent")) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == monitor.process.dwProcessId)
            return window;
    }
    return nullptr;
}

}  // namespace

TEST(HelpFile, WinesHtmlHelpOpensTheBuiltFileAtThePageOfEachState)
{
    MonitorCopy monitor(Platform::NT);
    const std::string chm = ReadFileBytes(TestEnvironment("LUMEVIEW_BIN") + "\\lumeview.chm");
    ASSERT_FALSE(chm.empty());
    WriteFileBytes(monitor.directory + "lumeview.chm", chm);
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1) + "EngssHelp=lumeview.chm\r\n"));

    const struct {
        DeviceState state;
        const char* page;
    } cases[] = {{Error, "etat-erreur.htm"}, {Warning, "etat-avertissement.htm"}, {Ready, "etat-pret.htm"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        monitor.Send(LVWM_SETSTATE, c.state);
        const size_t start = TraceSize();
        ASSERT_TRUE(Click(monitor.Control(IDC_PANEL_HELP)));
        // The page at the root of the file, never at a path of the build.
        const std::string wanted = std::string("lumeview.chm::/") + c.page + "\"";
        EXPECT_TRUE(Eventually([&] { return LastNavigation(start).find(wanted) != std::string::npos; }, 10000))
            << LastNavigation(start);
    }
    EXPECT_NE(nullptr, HelpWindowOf(monitor));
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_NE(STILL_ACTIVE, monitor.WaitForExit());
}
