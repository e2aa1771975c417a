// The options dialog of the real monitor: what it shows, what its choices
// change at once, what OK and Cancel leave in the settings file, its keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "help_spy.h"
#include "hhctrl_stand_in.h"
#include "hung_viewer.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "panel_input.h"
#include "polling.h"
#include "resource.h"
#include "settings_text.h"

namespace {

const char kSection[] = "Status Monitor";

BOOL CALLBACK MatchOptionsDialog(HWND window, LPARAM data)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") == 0 && GetDlgItem(window, IDC_ALERT_CHECK) && GetDlgItem(window, IDC_NOTIFY_GROUP)) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

HWND OptionsDialogOf(const MonitorCopy& monitor)
{
    HWND found = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(monitor.window, nullptr), MatchOptionsDialog,
                      reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK CollectOptionsDialog(HWND window, LPARAM data)
{
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && lstrcmpA(title, "Options") == 0)
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// Top-level options dialogs of the monitor's thread.
std::vector<HWND> OptionsDialogs(HWND mainWindow)
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetWindowThreadProcessId(mainWindow, nullptr), CollectOptionsDialog,
                      reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

// The options dialog the Options button opened; none is a failure at the
// caller's line.
HWND OpenOptions(MonitorCopy& monitor, const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    testing::AssertionResult pressed = Click(monitor.Control(IDC_OPTIONS));
    if (!pressed) {
        ADD_FAILURE_AT(file, line) << pressed.message();
        return nullptr;
    }
    HWND dialog = OptionsDialogOf(monitor);
    if (!dialog || !IsWindowVisible(dialog)) {
        ADD_FAILURE_AT(file, line) << "no options dialog shown";
        return nullptr;
    }
    return dialog;
}

bool Checked(HWND dialog, int id)
{
    return IsChecked(GetDlgItem(dialog, id));
}

int CheckedMode(HWND dialog)
{
    int checked = 0;
    for (int id : {IDC_MODE_WHILE_PRINTING, IDC_MODE_ALWAYS, IDC_MODE_OFF})
        checked = Checked(dialog, id) ? id : checked;
    return checked;
}

// Only "always show" (1) shows the hidden monitor for a scan.
bool ShowsForScanning(MonitorCopy& monitor)
{
    ShowWindow(monitor.window, SW_HIDE);
    monitor.Send(LVWM_OPERATION, LV_OP_SCANNING);
    return IsWindowVisible(monitor.window) != FALSE;
}

bool IsModeButton(int id)
{
    return id == IDC_MODE_WHILE_PRINTING || id == IDC_MODE_ALWAYS || id == IDC_MODE_OFF;
}

// Tab moves between the dialog's groups; the arrow keys move (and choose)
// within the radio group.
bool FocusByKeyboard(HWND dialog, int id)
{
    HWND target = GetDlgItem(dialog, id);
    for (int presses = 0; presses < 12; ++presses) {
        HWND focus = RegainFocus(dialog);
        if (focus == target)
            return true;
        int focused = GetDlgCtrlID(focus);
        bool inGroup = IsChild(dialog, focus) && IsModeButton(focused) && IsModeButton(id);
        PressKeyIn(dialog, !inGroup ? VK_TAB : focused < id ? VK_DOWN : VK_UP);
        Eventually([&] { return FocusOf(dialog) != focus; }, 2000);
    }
    return FocusOf(dialog) == target;
}

void Quit(MonitorCopy& monitor)
{
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
}

}  // namespace

TEST(OptionsDialog, OpensWithFrenchCaptionsAndTheStoredChoice)
{
    const struct {
        const char* settings;
        int checked;
        bool alertChecked;
        const char* savedMode;
        const char* savedAlert;
        bool reportShows;  // after OK: a status report shows the window unless the mode is unknown
    } cases[] = {
        {"event_notification_type=0\r\nsound_audio_alert=0\r\n", IDC_MODE_WHILE_PRINTING, false, "0", "0", true},
        {"event_notification_type=1\r\nsound_audio_alert=1\r\n", IDC_MODE_ALWAYS, true, "1", "1", true},
        {"event_notification_type=2\r\nsound_audio_alert=5\r\n", IDC_MODE_OFF, true, "2", "0", true},
        {"event_notification_type=7\r\n", IDC_MODE_WHILE_PRINTING, false, "0", "0", false},
        {"", IDC_MODE_WHILE_PRINTING, false, "0", "0", true},
    };
    const struct {
        int id;
        const wchar_t* caption;
    } captions[] = {
        {IDC_NOTIFY_GROUP, L"Avis d'opération"},
        {IDC_MODE_WHILE_PRINTING, L"Afficher le Gestionnaire d'état pendant l'impression"},
        {IDC_MODE_ALWAYS, L"Toujours afficher le Gestionnaire d'état"},
        {IDC_MODE_OFF, L"Fenêtre d'état désactivée"},
        {IDC_ALERT_CHECK, L"Tonalité d'alarme"},
        {IDC_OPTIONS_OK, L"OK"},
        {IDC_OPTIONS_CANCEL, L"Annuler"},
    };
    MonitorCopy monitor;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        ASSERT_TRUE(monitor.StartWith(std::string("[Status Monitor]\r\n") + c.settings));
        HWND dialog = OpenOptions(monitor);
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ(monitor.window, GetWindow(dialog, GW_OWNER));
        EXPECT_EQ(L"Options", monitor.WindowTextW(dialog));
        for (const auto& caption : captions)
            EXPECT_EQ(caption.caption, monitor.WindowTextW(GetDlgItem(dialog, caption.id))) << "control " << caption.id;
        EXPECT_EQ(c.checked, CheckedMode(dialog));
        HWND alert = GetDlgItem(dialog, IDC_ALERT_CHECK);
        EXPECT_EQ(c.alertChecked, Checked(dialog, IDC_ALERT_CHECK));
        EXPECT_FALSE(IsWindowVisible(alert));
        EXPECT_FALSE(IsWindowEnabled(alert));
        EXPECT_EQ(GetDlgItem(dialog, IDC_OPTIONS_OK), FocusOf(dialog)) << "the dialog manager sets the focus";
        EXPECT_FALSE(IsWindowEnabled(monitor.window));

        ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_OPTIONS_OK)));
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_TRUE(IsWindowEnabled(monitor.window));
        EXPECT_EQ(c.savedAlert, monitor.ReadIni(kSection, "sound_audio_alert"));
        EXPECT_EQ(c.savedMode, monitor.ReadIni(kSection, "event_notification_type"));

        ShowWindow(monitor.window, SW_HIDE);
        monitor.Send(LVWM_ERROR, CATEGORY_NONE, 0);
        EXPECT_EQ(c.reportShows, IsWindowVisible(monitor.window) != FALSE) << "OK leaves the mode as it was";
        Quit(monitor);
    }
}

TEST(OptionsDialog, ChoiceActsAtOnceAndOkStoresIt)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings()
                                      .Key("event_notification_type", 0)
                                      .Key("sound_audio_alert", 1)
                                      .Text()));
    HWND dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_MODE_ALWAYS)));
    EXPECT_EQ("0", monitor.ReadIni(kSection, "event_notification_type")) << "nothing written before OK";
    monitor.Send(LVWM_OPERATION, LV_OP_PRINTING);
    monitor.Send(LVWM_OPERATION, LV_OP_ENDED);
    EXPECT_TRUE(monitor.Running()) << "always shown: the end of the job leaves it open";

    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_OPTIONS_OK)));
    EXPECT_EQ("1", monitor.ReadIni(kSection, "event_notification_type"));
    EXPECT_EQ("1", monitor.ReadIni(kSection, "sound_audio_alert"));
    EXPECT_TRUE(ShowsForScanning(monitor)) << "the mode stays 1 after OK";

    dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(IDC_MODE_ALWAYS, CheckedMode(dialog));
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_MODE_OFF)));
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_OPTIONS_OK)));
    EXPECT_EQ("2", monitor.ReadIni(kSection, "event_notification_type"));
    monitor.Send(LVWM_OPERATION, LV_OP_ENDED);
    EXPECT_EQ(0u, monitor.WaitForExit()) << "status window off: the end of the job closes it";
}

TEST(OptionsDialog, CancelPutsBackWhatTheFileHolds)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings()
                                      .Key("event_notification_type", 1)
                                      .Key("sound_audio_alert", 1)
                                      .Text()));
    HWND dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_MODE_OFF)));
    EXPECT_FALSE(ShowsForScanning(monitor)) << "mode 2 while the dialog is open";
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_OPTIONS_CANCEL)));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(monitor.window));
    EXPECT_TRUE(ShowsForScanning(monitor)) << "mode 1 again after Cancel";
    EXPECT_EQ("1", monitor.ReadIni(kSection, "event_notification_type"));
    EXPECT_EQ("1", monitor.ReadIni(kSection, "sound_audio_alert"));

    // Cancel takes what the file holds now, here nothing: both values 0.
    dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(IDC_MODE_ALWAYS, CheckedMode(dialog));
    EXPECT_TRUE(Checked(dialog, IDC_ALERT_CHECK));
    monitor.WriteIni(MonitorSettings().Text());
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_OPTIONS_CANCEL)));
    EXPECT_FALSE(ShowsForScanning(monitor));
    dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(IDC_MODE_WHILE_PRINTING, CheckedMode(dialog));
    EXPECT_FALSE(Checked(dialog, IDC_ALERT_CHECK));
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_OPTIONS_CANCEL)));
    EXPECT_EQ("<absent>", monitor.ReadIni(kSection, "event_notification_type")) << "Cancel writes nothing";
    Quit(monitor);
}

TEST(OptionsDialog, EscapeAndTitleBarCloseCancelEnterAccepts)
{
    enum Way { Escape, TitleBarClose, EnterOnRadio, EnterOnOk };
    const struct {
        const char* name;
        Way way;
        bool accepted;
    } cases[] = {
        {"Escape", Escape, false},
        {"title bar close", TitleBarClose, false},
        {"Enter on a radio button", EnterOnRadio, true},
        {"Enter on OK", EnterOnOk, true},
    };
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings().Key("event_notification_type", 0).Text()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        monitor.WriteIni(MonitorSettings().Key("event_notification_type", 0).Text());
        HWND dialog = OpenOptions(monitor);
        ASSERT_NE(nullptr, dialog);
        switch (c.way) {
        case Escape:
            ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_MODE_ALWAYS)));
            PressKeyIn(dialog, VK_ESCAPE);
            break;
        case TitleBarClose:
            ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_MODE_ALWAYS)));
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case EnterOnRadio:
            // The arrow key chooses within the group as the user would.
            ASSERT_TRUE(TabTo(dialog, GetDlgItem(dialog, IDC_MODE_WHILE_PRINTING)));
            PressKeyIn(dialog, VK_DOWN);
            ASSERT_TRUE(Eventually([&] { return FocusOf(dialog) == GetDlgItem(dialog, IDC_MODE_ALWAYS); }));
            EXPECT_EQ(IDC_MODE_ALWAYS, CheckedMode(dialog));
            PressKeyIn(dialog, VK_RETURN);
            break;
        case EnterOnOk:
            ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_MODE_ALWAYS)));
            ASSERT_TRUE(TabTo(dialog, GetDlgItem(dialog, IDC_OPTIONS_OK)));
            PressKeyIn(dialog, VK_RETURN);
            break;
        }
        ASSERT_TRUE(Eventually([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(IsWindowEnabled(monitor.window));
        EXPECT_EQ(c.accepted ? "1" : "0", monitor.ReadIni(kSection, "event_notification_type"));
        EXPECT_EQ(c.accepted, ShowsForScanning(monitor));
        // The panel is the loop's dialog again: F1 asks for one of its topics.
        spy.Clear();
        PressKeyIn(monitor.Panel(), VK_F1);
        ASSERT_TRUE(spy.WaitFor(1));
        EXPECT_EQ(monitor.Panel(), spy.Requests()[0].owner);
        EXPECT_GE(spy.Requests()[0].data, 3107u);
        EXPECT_LE(spy.Requests()[0].data, 3113u);
    }
    Quit(monitor);
}

TEST(OptionsDialog, F1AsksForTheFocusedControlsTopicAndTheDialogStays)
{
    const struct {
        int control;
        DWORD topic;
    } cases[] = {
        {IDC_OPTIONS_OK, 3004}, {IDC_OPTIONS_CANCEL, 3005}, {IDC_MODE_WHILE_PRINTING, 3002}, {IDC_MODE_ALWAYS, 3002}, {IDC_MODE_OFF, 3002}, {IDC_ALERT_CHECK, 3003},
    };
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings().Key("EngssHelp", "Moniteur.hlp").Text()));
    HWND dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    Offer(GetDlgItem(dialog, IDC_ALERT_CHECK));
    for (const auto& c : cases) {
        SCOPED_TRACE("control " + std::to_string(c.control));
        // A monitor of another test may take the focus between the two
        // steps; a wrong topic every time is a fault, once is that race.
        for (int attempt = 0; attempt < 3; ++attempt) {
            ASSERT_TRUE(FocusByKeyboard(dialog, c.control));
            spy.Clear();
            PressKeyIn(dialog, VK_F1);
            ASSERT_TRUE(spy.WaitFor(1));
            if (spy.Requests()[0].data == c.topic)
                break;
        }
        EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), spy.Requests()[0].command);
        EXPECT_EQ(c.topic, spy.Requests()[0].data);
        EXPECT_EQ(monitor.directory + "Moniteur.hlp", spy.Requests()[0].file);
        EXPECT_EQ(dialog, spy.Requests()[0].owner);
        EXPECT_TRUE(IsWindowVisible(dialog));
    }
    // Every control greyed and the focused one hidden: the focus is on none of them.
    for (const auto& c : cases) {
        if (c.control != IDC_ALERT_CHECK)
            EnableWindow(GetDlgItem(dialog, c.control), FALSE);
    }
    ShowWindow(GetDlgItem(dialog, IDC_ALERT_CHECK), SW_HIDE);
    ASSERT_TRUE(Eventually([&] { return FocusOf(dialog) != GetDlgItem(dialog, IDC_ALERT_CHECK); }));
    for (const auto& c : cases)
        ASSERT_NE(GetDlgItem(dialog, c.control), FocusOf(dialog));
    spy.Clear();
    PressKeyIn(dialog, VK_F1);
    ASSERT_TRUE(spy.WaitFor(1));
    EXPECT_EQ(3001u, spy.Requests()[0].data) << "the dialog as a whole";
    Quit(monitor);
}

TEST(OptionsDialog, F1AsksHtmlHelpForTheFocusedControlsTopicOfAChm)
{
    HhctrlStandIn hhctrl;
    MonitorCopy monitor(Platform::Windows10);
    ASSERT_TRUE(hhctrl.LoadedBy(monitor));
    ASSERT_TRUE(monitor.StartWith(MonitorSettings().Key("EngssHelp", "Moniteur.chm").Text()));
    HWND dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(FocusByKeyboard(dialog, IDC_OPTIONS_CANCEL));
    PressKeyIn(dialog, VK_F1);
    HtmlHelpLog log = hhctrl.WaitForCalls(1);
    ASSERT_EQ(1u, log.calls.size());
    EXPECT_EQ(kHelpContextCommand, log.calls[0].command);
    EXPECT_EQ(3005u, log.calls[0].data);
    EXPECT_EQ(monitor.directory + "Moniteur.chm", log.calls[0].file);
    EXPECT_EQ(dialog, log.calls[0].owner);
    EXPECT_TRUE(IsWindowVisible(dialog));
    Quit(monitor);
}

TEST(OptionsDialog, F1WithAViewerThatDoesNotAnswerHoldsNothing)
{
    HungViewer viewer;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    HWND dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(AnswersAfterAskingForHelp(monitor, [&] { PressKeyIn(dialog, VK_F1); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    Quit(monitor);
}

TEST(OptionsDialog, PanelTakesNoInputWhileOpenAndGetsItBack)
{
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings().Key("event_notification_type", 1).Text()));
    HWND dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(IsWindowEnabled(monitor.window));
    // Escape on the panel would close the monitor; F1 after it comes back
    // from the dialog, so Escape has been handled by then.
    // Monitors of tests running beside this one may take the foreground,
    // and the focus with it: give it back to the dialog first.
    HWND ok = GetDlgItem(dialog, IDC_OPTIONS_OK);
    ASSERT_TRUE(Eventually([&] {
        if (FocusOf(dialog) != ok)
            SetForegroundWindow(dialog);
        return FocusOf(dialog) == ok;
    }));
    HWND close = monitor.Control(IDC_PANEL_CLOSE);
    PressKey(close, VK_ESCAPE);
    PressKey(close, VK_F1);
    ASSERT_TRUE(spy.WaitFor(1));
    EXPECT_EQ(dialog, spy.Requests()[0].owner);
    EXPECT_EQ(3004u, spy.Requests()[0].data) << "the dialog's OK keeps the focus";
    EXPECT_TRUE(monitor.Running());
    EXPECT_TRUE(IsWindow(dialog));

    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_OPTIONS_OK)));
    EXPECT_TRUE(IsWindowEnabled(monitor.window));
    PressKey(close, VK_ESCAPE);
    EXPECT_EQ(0u, monitor.WaitForExit()) << "Escape closes the monitor again";
}

// The dialog goes with the main window (seen in-process, where the windows
// outlive the run); the run ends and saves IsIcon, never the choice the
// dialog holds unconfirmed.
TEST(OptionsDialog, ClosingTheMonitorWithTheDialogOpenSavesNoUnconfirmedChoice)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings().Key("event_notification_type", 1).Text()));
    HWND dialog = OpenOptions(monitor);
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(Click(GetDlgItem(dialog, IDC_MODE_OFF)));
    monitor.Send(LVWM_APPCLOSE);
    EXPECT_EQ(0u, monitor.WaitForExit());
    EXPECT_EQ("0", monitor.ReadIni(kSection, "IsIcon"));
    EXPECT_EQ("1", monitor.ReadIni(kSection, "event_notification_type"));
}

TEST(OptionsDialog, SecondRequestWhileOpenDoesNothing)
{
    MonitorCopy monitor(Platform::NT, "options_twice");
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_NE(nullptr, monitor.StartAndWait());
    HWND panel = monitor.Panel();
    DWORD_PTR result = 0;
    for (int request = 0; request < 2; ++request)
        ASSERT_NE(0, SendMessageTimeoutA(panel, WM_COMMAND, IDC_OPTIONS, 0, SMTO_NORMAL, 5000, &result));
    std::vector<HWND> dialogs = OptionsDialogs(monitor.window);
    ASSERT_EQ(1u, dialogs.size());
    EXPECT_FALSE(IsWindowEnabled(monitor.window));

    ASSERT_NE(0, SendMessageTimeoutA(dialogs[0], WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL, 5000, &result));
    EXPECT_TRUE(Eventually([&] { return OptionsDialogs(monitor.window).empty(); }));
    EXPECT_TRUE(IsWindowEnabled(monitor.window));

    // The panel takes the request again once the dialog is gone.
    ASSERT_NE(0, SendMessageTimeoutA(panel, WM_COMMAND, IDC_OPTIONS, 0, SMTO_NORMAL, 5000, &result));
    EXPECT_EQ(1u, OptionsDialogs(monitor.window).size());
}
