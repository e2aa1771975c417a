// Every status report hands the keyboard focus back to the panel. A report
// that finds the focus already where a hand-back puts it skips the hand-back
// (two focus changes per report were most of its cost); these cases make
// sure that shortcut never leaves the focus elsewhere than a hand-back would.
#include <gtest/gtest.h>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"

namespace {

bool InPanel(MonitorCopy& monitor, HWND focus)
{
    return focus && (focus == monitor.Panel() || IsChild(monitor.Panel(), focus));
}

// Where the main window's own hand-back (its WM_SETFOCUS) puts the focus
// from wherever it is now.
HWND HandBackLanding(MonitorCopy& monitor)
{
    monitor.Send(WM_SETFOCUS);
    return FocusOf(monitor.window);
}

}  // namespace

TEST(ReliabilityReportFocus, ReportsPutTheFocusWhereAHandBackPutsIt)
{
    MonitorCopy monitor(Platform::NT, "report_focus");
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    for (int report = 0; report < 3; ++report)
        ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
    HWND settled = FocusOf(monitor.window);
    ASSERT_TRUE(InPanel(monitor, settled));
    EXPECT_EQ(settled, HandBackLanding(monitor));

    // The focus moved to another button by the keyboard: a report brings it
    // to where a hand-back would, not left where the user put it. Where the
    // two differ, a report that skipped the hand-back would be seen.
    const struct {
        int control;
        bool landsElsewhere;
    } cases[] = {{IDC_OPTIONS, true}, {IDC_PANEL_HELP, true}, {IDC_PANEL_CLOSE, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("focus on control " + std::to_string(c.control));
        ASSERT_TRUE(TabTo(monitor.Panel(), monitor.Control(c.control)));
        HWND landing = HandBackLanding(monitor);
        ASSERT_EQ(c.landsElsewhere, landing != monitor.Control(c.control));
        ASSERT_TRUE(TabTo(monitor.Panel(), monitor.Control(c.control)));
        ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_WARNING, 1));
        EXPECT_EQ(landing, FocusOf(monitor.window));
        ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 5));
        EXPECT_EQ(landing, FocusOf(monitor.window)) << "a second report in a row";
    }

    // A button that goes grey changes where a hand-back lands.
    HWND first = FocusOf(monitor.window);
    EnableWindow(first, FALSE);
    HWND landing = HandBackLanding(monitor);
    EXPECT_NE(first, landing);
    ASSERT_NE(monitor.Control(IDC_OPTIONS), landing);
    ASSERT_TRUE(TabTo(monitor.Panel(), monitor.Control(IDC_OPTIONS)));
    ASSERT_EQ(1, monitor.Send(LVWM_ERROR, CATEGORY_NONE, 0));
    EXPECT_EQ(landing, FocusOf(monitor.window));
    EnableWindow(first, TRUE);
}

TEST(ReliabilityReportFocus, ReportAfterAnotherProgramTookTheFocusGivesItBackToThePanel)
{
    // Mode 7 shows the window for no report: only the hand-back moves focus.
    MonitorCopy monitor(Platform::NT, "report_focus_away");
    ASSERT_TRUE(monitor.StartWith(ModeSettings(7)));
    ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
    ASSERT_TRUE(InPanel(monitor, FocusOf(monitor.window)));

    HWND other = CreateWindowA("STATIC", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
    SetForegroundWindow(other);
    SetFocus(other);
    ASSERT_TRUE(Eventually([&] { return !InPanel(monitor, FocusOf(monitor.window)); }, 3000))
        << "the other window did not take the focus";
    ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
    EXPECT_TRUE(InPanel(monitor, FocusOf(monitor.window)));
    DestroyWindow(other);
}

// Another program greys or hides the control that holds the focus: nothing
// the monitor did itself changed, and the report must still see it.
TEST(ReliabilityReportFocus, ReportMovesTheFocusOffAControlAnotherProgramDisabledOrHid)
{
    MonitorCopy monitor(Platform::NT, "report_focus_taken");
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    for (bool hide : {false, true}) {
        SCOPED_TRACE(hide ? "hidden" : "disabled");
        // The second report finds the focus where the first put it.
        for (int report = 0; report < 2; ++report)
            ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
        HWND settled = FocusOf(monitor.window);
        ASSERT_TRUE(InPanel(monitor, settled));
        LONG_PTR style = GetWindowLongPtrA(settled, GWL_STYLE);
        if (hide)  // by the style alone: ShowWindow would move the focus itself
            SetWindowLongPtrA(settled, GWL_STYLE, style & ~WS_VISIBLE);
        else
            EnableWindow(settled, FALSE);
        ASSERT_EQ(settled, FocusOf(monitor.window)) << "the focus moved before the report";
        ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
        HWND after = FocusOf(monitor.window);
        EXPECT_NE(settled, after);
        EXPECT_TRUE(InPanel(monitor, after));
        EXPECT_TRUE(IsWindowEnabled(after) && IsWindowVisible(after));
        EXPECT_EQ(after, HandBackLanding(monitor));
        SetWindowLongPtrA(settled, GWL_STYLE, style);
    }
}
