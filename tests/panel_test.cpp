// What the panel shows on the screen: captions, colours, the device
// pictures and state icon by state, the hidden controls.
#include <gtest/gtest.h>

#include <string>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "polling.h"
#include "resource.h"
#include "screen.h"
#include "settings_text.h"
#include "test_environment.h"

namespace {

const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlack = RGB(0, 0, 0);

// Keeps the window above the monitors other tests run at the same time.
void BringToScreenCorner(MonitorCopy& monitor)
{
    SetWindowPos(monitor.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    WaitForSettledScreen(ClientRectOnScreen(monitor.window));
}

void SaveArtefact(MonitorCopy& monitor, const std::string& name)
{
    RECT outer;
    GetWindowRect(monitor.window, &outer);
    std::string folder = TestEnvironment("LUMEVIEW_TEST_WORK") + "\\screenshots\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    ScreenImage(outer).Save(folder + name + ".bmp");
}

int CountPixels(const ScreenImage& image, const RECT& area, COLORREF colour)
{
    int count = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            count += image.At(x, y) == colour;
    return count;
}

bool IsYellow(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 160 && GetBValue(c) < 80; }
bool IsRed(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 70 && GetBValue(c) < 70; }

int CountMatching(const ScreenImage& image, const RECT& area, bool (*match)(COLORREF))
{
    int count = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            count += match(image.At(x, y));
    return count;
}

// Compares a picture control with the bitmap drawn 1:1 from its top-left
// corner: the bottom rows of the bitmap meet the control's bottom rows.
int PictureMismatches(MonitorCopy& monitor, int controlId, int bitmapId, COLORREF face)
{
    ResourceBitmap bitmap(monitor.exePath, bitmapId);
    EXPECT_TRUE(bitmap.Loaded()) << "bitmap " << bitmapId;
    if (!bitmap.Loaded())
        return -1;
    RECT area = ClientRectOnScreen(monitor.Control(controlId));
    ScreenImage image(area);
    int height = area.bottom - area.top;
    int width = area.right - area.left;
    int mismatches = 0;
    int compared = 0;
    for (int dy = 0; dy < height; ++dy) {
        int row = height - 1 - dy;
        if (row >= bitmap.height)
            continue;
        for (int dx = 0; dx < width && dx < bitmap.width; ++dx) {
            ++compared;
            mismatches += image.At(area.left + dx, area.top + dy) != bitmap.At(dx, row, face);
        }
    }
    EXPECT_GT(compared, 1000) << "the picture control shows most of bitmap " << bitmapId;
    return mismatches;
}

}  // namespace

TEST(PanelCaptions, FrenchTextsOfAllTenControls)
{
    struct Caption {
        int id;
        const wchar_t* text;
    } captions[] = {
        {IDC_PANEL_CLOSE, L"Fermer"},
        {IDC_PANEL_HELP, L"Aide"},
        {IDC_CANCEL_JOB, L"Annuler le travail"},
        {IDC_QUEUE_BUTTON, L"File d'attente d'impression"},
        {IDC_PROPERTIES, L"Propri\u00e9t\u00e9s"},
        {IDC_OPTIONS, L"Options"},
        {IDC_JOB_STATE_LABEL, L"\u00c9tat du travail :"},
        {IDC_DOCUMENT_LABEL, L"Impression en cours :"},
        {IDC_PAGES_LABEL, L"Pages :"},
        {IDC_PERCENT_LABEL, L"Pourcentage termin\u00e9 :"},
    };
    MonitorCopy monitor;
    ASSERT_NE(nullptr, monitor.StartAndWait());
    for (const Caption& caption : captions)
        EXPECT_EQ(caption.text, monitor.ControlText(caption.id)) << "control " << caption.id;
    EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
    EXPECT_EQ(L"", monitor.ControlText(IDC_DOCUMENT_NAME));
    monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2);
    EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
    EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
}

TEST(PanelColours, StatusAndDocumentGreenOnBlackLabelsOnButtonFace)
{
    MonitorCopy monitor;
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_NE(nullptr, monitor.StartAndWait());
    SetWindowTextA(monitor.Control(IDC_DOCUMENT_NAME), "Rapport annuel.doc");
    BringToScreenCorner(monitor);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int id : {IDC_STATUS_TEXT, IDC_DOCUMENT_NAME}) {
        SCOPED_TRACE("control " + std::to_string(id));
        RECT area = ClientRectOnScreen(monitor.Control(id));
        ScreenImage image(area);
        int all = (area.right - area.left) * (area.bottom - area.top);
        int green = CountPixels(image, area, kGreen);
        int black = CountPixels(image, area, kBlack);
        EXPECT_GT(green, 8) << "green text";
        EXPECT_GT(black, all / 2) << "black background";
        EXPECT_EQ(0, CountPixels(image, area, face));
    }
    RECT label = ClientRectOnScreen(monitor.Control(IDC_DOCUMENT_LABEL));
    ScreenImage image(label);
    int all = (label.right - label.left) * (label.bottom - label.top);
    EXPECT_GT(CountPixels(image, label, face), all / 2) << "label on button face";
    EXPECT_EQ(0, CountPixels(image, label, kGreen));
    SaveArtefact(monitor, "panel-ready-document");
}

TEST(PanelPictures, DevicePictureAndStateIconForEveryStateWithAndWithoutP)
{
    struct Case {
        const char* commandLine;
        DeviceState state;
        int bitmap;
        const char* name;
    } cases[] = {
        {"", Ready, IDB_READY, "ready"},
        {"", Warning, IDB_WARNING, "warning"},
        {"", Error, IDB_ERROR, "error"},
        {"/P", Ready, IDB_READY_FEEDER, "p-ready"},
        {"/P", Warning, IDB_WARNING_FEEDER, "p-warning"},
        {"/P", Error, IDB_ERROR_FEEDER, "p-error"},
    };
    MonitorCopy monitor;
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    std::string running;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.commandLine + "\" state " + std::to_string(c.state));
        if (running != c.commandLine || !monitor.Running()) {
            if (monitor.Running()) {
                monitor.Send(LVWM_APPCLOSE);
                monitor.WaitForExit();
            }
            ASSERT_NE(nullptr, monitor.StartAndWait(c.commandLine));
            running = c.commandLine;
        }
        EXPECT_EQ(1, monitor.Send(LVWM_SETSTATE, c.state));
        BringToScreenCorner(monitor);
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(0, PictureMismatches(monitor, IDC_DEVICE_PICTURE, c.bitmap, face));
        EXPECT_EQ(0, PictureMismatches(monitor, IDC_LOGO, IDB_LOGO, face)) << "the logo";

        RECT icon = ClientRectOnScreen(monitor.Control(IDC_STATE_ICON));
        ScreenImage image(icon);
        int all = (icon.right - icon.left) * (icon.bottom - icon.top);
        int yellow = CountMatching(image, icon, IsYellow);
        int red = CountMatching(image, icon, IsRed);
        switch (c.state) {
        case Ready:
            EXPECT_EQ(all, CountPixels(image, icon, face)) << "the state icon shows nothing";
            break;
        case Warning:
            EXPECT_GT(yellow, 40);
            EXPECT_EQ(0, red);
            break;
        case Error:
            EXPECT_GT(red, 40);
            EXPECT_EQ(0, yellow);
            break;
        }
        SaveArtefact(monitor, std::string("panel-") + c.name);
    }
}

TEST(PanelControls, QueuePropertiesPagesAndProgressStayHidden)
{
    // The driver's settings file lives in the Windows folder.
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string driverSettings = std::string(windows) + "\\LGDISET.INI";
    for (const char* superQueue : {"", "1"}) {
        SCOPED_TRACE(std::string("SuperQueue=") + superQueue);
        WritePrivateProfileStringA("Status Monitor", "SuperQueue", *superQueue ? superQueue : nullptr,
                                   driverSettings.c_str());
        MonitorCopy monitor;
        ASSERT_NE(nullptr, monitor.StartAndWait());
        monitor.Send(LVWM_PROGRESS, 1, 3);
        monitor.Send(LVWM_PROGRESS, 2, 10);
        WaitForSettledScreen(ClientRectOnScreen(monitor.window));
        for (int id : {IDC_QUEUE_BUTTON, IDC_PROPERTIES}) {
            EXPECT_FALSE(IsWindowVisible(monitor.Control(id))) << id;
            EXPECT_FALSE(IsWindowEnabled(monitor.Control(id))) << id;
        }
        for (int id : {IDC_PAGES_LABEL, IDC_PAGES_TEXT, IDC_PERCENT_LABEL, IDC_PROGRESS_BAR, IDC_JOB_STATE_LABEL, IDC_PANEL_GROUP})
            EXPECT_FALSE(IsWindowVisible(monitor.Control(id))) << id;
        for (int id : {IDC_DOCUMENT_LABEL, IDC_DOCUMENT_NAME, IDC_STATUS_TEXT, IDC_DEVICE_PICTURE, IDC_STATE_ICON, IDC_LOGO, IDC_PANEL_CLOSE, IDC_PANEL_HELP, IDC_CANCEL_JOB, IDC_OPTIONS})
            EXPECT_TRUE(IsWindowVisible(monitor.Control(id))) << id;

        // Shown and enabled from outside, they are hidden again by the next paint.
        const int kept[] = {IDC_QUEUE_BUTTON, IDC_PROPERTIES, IDC_PAGES_LABEL, IDC_PAGES_TEXT, IDC_PERCENT_LABEL, IDC_PROGRESS_BAR};
        for (int id : kept) {
            EnableWindow(monitor.Control(id), TRUE);
            ShowWindow(monitor.Control(id), SW_SHOWNA);
            ASSERT_TRUE(IsWindowVisible(monitor.Control(id))) << id;
        }
        InvalidateRect(monitor.Panel(), nullptr, TRUE);
        EXPECT_TRUE(Eventually([&] {
            for (int id : kept) {
                if (IsWindowVisible(monitor.Control(id)))
                    return false;
            }
            return true;
        })) << "the paint step left them shown";
        for (int id : {IDC_QUEUE_BUTTON, IDC_PROPERTIES})
            EXPECT_FALSE(IsWindowEnabled(monitor.Control(id))) << id;
        monitor.Send(LVWM_APPCLOSE);
        monitor.WaitForExit();
    }
    WritePrivateProfileStringA("Status Monitor", "SuperQueue", nullptr, driverSettings.c_str());
}

TEST(PanelControls, Win32sHidesTheDocumentNameAndItsLabel)
{
    struct Case {
        Platform platform;
        bool shown;
    } cases[] = {{Platform::Win32s, false}, {Platform::Windows95, true}, {Platform::NT, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.platform));
        MonitorCopy monitor(c.platform, "panel_platform_" + std::to_string(static_cast<int>(c.platform)));
        ASSERT_NE(nullptr, monitor.StartAndWait());
        WaitForSettledScreen(ClientRectOnScreen(monitor.window));
        EXPECT_EQ(c.shown, IsWindowVisible(monitor.Control(IDC_DOCUMENT_NAME)) != FALSE);
        EXPECT_EQ(c.shown, IsWindowVisible(monitor.Control(IDC_DOCUMENT_LABEL)) != FALSE);
        EXPECT_TRUE(IsWindowVisible(monitor.Control(IDC_STATUS_TEXT)));
        monitor.Send(LVWM_APPCLOSE);
        monitor.WaitForExit();
    }
}
