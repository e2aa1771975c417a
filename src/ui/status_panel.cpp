// The panel's initialisation, painting and colours. Its commands live in
// panel_commands.cpp.
#include "ui/status_panel.h"

#include <stdio.h>
#include <string.h>

#include "lumeview/protocol.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/idle_text.h"
#include "ui/panel_brushes.h"
#include "ui/panel_commands.h"
#include "ui/picture.h"
#include "ui/progress_rules.h"

static const COLORREF kStatusTextColour = RGB(0, 255, 0);
static const COLORREF kStatusBackColour = RGB(0, 0, 0);
static const int kStatusFontPoints = 7;
static const int kStatusFontDpi = 90;  // fixed, whatever the display's resolution
static const int kPagesLineSize = 256;
static const int kShownTextSize = 512;

// The status font made by the last reset; the one before it is released
// once the control holds its successor.
static HFONT statusFont = nullptr;

// Holds a window's paint cycle open for the scope of a paint: the panel's,
// or that of one of its controls.
class PaintGuard {
public:
    explicit PaintGuard(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintGuard() { EndPaint(window_, &paint_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;

    // 0 when the cycle could not be opened: there is nothing to paint on.
    HDC dc() const { return dc_; }
    const RECT& area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
};

// A window's device context, released on every way out.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() { ReleaseDC(window_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

struct StatePictures {
    int device;
    int deviceWithFeeder;  // the model started with /P
    int stateIcon;
};

static const StatePictures kPictures[] = {
    {IDB_READY, IDB_READY_FEEDER, IDI_STATE_BLANK},
    {IDB_WARNING, IDB_WARNING_FEEDER, IDI_STATE_WARNING},
    {IDB_ERROR, IDB_ERROR_FEEDER, IDI_STATE_ERROR},
};

static const StatePictures& PicturesForState()
{
    return kPictures[monitorState.deviceState];
}

// Loaded at the first paint that shows them. They are shared icons, which
// the system keeps for the life of the module.
static HICON stateIcons[sizeof kPictures / sizeof kPictures[0]];

static HICON StateIcon()
{
    HICON& icon = stateIcons[monitorState.deviceState];
    if (!icon)
        icon = LoadIconA(monitorState.instance, MAKEINTRESOURCEA(PicturesForState().stateIcon));
    return icon;
}

void SetControlFont(HWND control, int height, int width, int escapement, int orientation,
                    int weight, DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                    DWORD outputPrecision, DWORD clipPrecision, DWORD quality,
                    DWORD pitchAndFamily, const char* faceName)
{
    HFONT font = CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                             strikeOut, charSet, outputPrecision, clipPrecision, quality,
                             pitchAndFamily, faceName);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
}

// Without the status control nothing would hold the font, nor release it.
static void SetStatusFont()
{
    if (!monitorState.controls.statusText)
        return;
    SetControlFont(monitorState.controls.statusText, -MulDiv(kStatusFontPoints, kStatusFontDpi, 72), 0, 0, 0,
                   FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                   CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    HFONT made = reinterpret_cast<HFONT>(SendMessageA(monitorState.controls.statusText, WM_GETFONT, 0, 0));
    if (statusFont && statusFont != made)
        DeleteObject(statusFont);
    statusFont = made;
}

int ResetPanel()
{
    SendMessageA(mainWindowObject.window, LVWM_SETSTATE, Ready, 0);
    const PanelControls& controls = monitorState.controls;
    SetWindowTextA(controls.statusText, textAvailable);
    SetWindowTextA(controls.documentName, "");
    SetWindowTextA(controls.pagesText, "");
    SetWindowTextA(controls.progressBar, "");
    LoadPathSettings();
    SetStatusFont();
    return 1;
}

bool SetTextUnlessShown(HWND control, const char* text)
{
    int length = GetWindowTextLengthA(control);
    if (length == static_cast<int>(strlen(text)) && length < kShownTextSize) {
        char shown[kShownTextSize];
        if (GetWindowTextA(control, shown, sizeof shown) == length && strcmp(shown, text) == 0)
            return false;
    }
    SetWindowTextA(control, text);
    return true;
}

int ShowPageProgress(LONG done, LONG total)
{
    if (ProgressHasCounts(done, total)) {
        char line[kPagesLineSize];
        snprintf(line, sizeof line, "%ld %s %ld", static_cast<long>(done), "de", static_cast<long>(total));
        SetTextUnlessShown(monitorState.controls.pagesText, line);
    } else {
        SetTextUnlessShown(monitorState.controls.pagesText, "");
    }

    // Without its control there is nothing to draw on (GetDC would give the screen).
    HWND bar = monitorState.controls.progressBar;
    if (!bar)
        return 1;
    WindowDC dc(bar);
    RECT inner = {0, 0, 0, 0};
    GetClientRect(bar, &inner);
    // Leave the control's one-pixel frame alone.
    InflateRect(&inner, -1, -1);
    FillRect(dc.dc(), &inner, faceBrush);
    LONG filled = ProgressFillWidth(done, total, inner.right - inner.left);
    if (filled > 0) {
        inner.right = filled + 1;
        FillRect(dc.dc(), &inner, progressBrush);
    }
    return 1;
}

static void SetCaption(HWND panel, int id, const char* caption)
{
    SetWindowTextA(GetDlgItem(panel, id), caption);
}

// Each control the panel keeps, by its id.
static const struct {
    HWND PanelControls::*handle;
    int id;
} kKeptControls[] = {
    {&PanelControls::statusText, IDC_STATUS_TEXT},
    {&PanelControls::documentName, IDC_DOCUMENT_NAME},
    {&PanelControls::pagesText, IDC_PAGES_TEXT},
    {&PanelControls::progressBar, IDC_PROGRESS_BAR},
    {&PanelControls::cancelJobButton, IDC_CANCEL_JOB},
    {&PanelControls::logo, IDC_LOGO},
    {&PanelControls::devicePicture, IDC_DEVICE_PICTURE},
    {&PanelControls::stateIcon, IDC_STATE_ICON},
    {&PanelControls::queueButton, IDC_QUEUE_BUTTON},
    {&PanelControls::properties, IDC_PROPERTIES},
    {&PanelControls::documentLabel, IDC_DOCUMENT_LABEL},
    {&PanelControls::pagesLabel, IDC_PAGES_LABEL},
    {&PanelControls::percentLabel, IDC_PERCENT_LABEL},
};

static void KeepControls(HWND panel)
{
    panelWindowObject.window = panel;
    for (const auto& kept : kKeptControls)
        monitorState.controls.*kept.handle = GetDlgItem(panel, kept.id);
}

static INT_PTR OnInitDialog(HWND panel)
{
    KeepControls(panel);

    SetCaption(panel, IDC_PANEL_CLOSE, "Fermer");
    SetCaption(panel, IDC_PANEL_HELP, "Aide");
    SetCaption(panel, IDC_CANCEL_JOB, "Annuler le travail");
    SetCaption(panel, IDC_QUEUE_BUTTON, "File d'attente d'impression");
    SetCaption(panel, IDC_PROPERTIES, "Propriétés");
    SetCaption(panel, IDC_OPTIONS, "Options");
    SetCaption(panel, IDC_JOB_STATE_LABEL, "État du travail :");
    SetCaption(panel, IDC_DOCUMENT_LABEL, "Impression en cours :");
    SetCaption(panel, IDC_PAGES_LABEL, "Pages :");
    SetCaption(panel, IDC_PERCENT_LABEL, "Pourcentage terminé :");

    // The driver may offer its own queue viewer.
    if (DriverOffersQueueViewer())
        EnableWindow(monitorState.controls.queueButton, TRUE);

    ResetPanel();
    return 0;
}

// Opens the control's own paint cycle so the static control does not paint
// over the picture afterwards.
static void PaintPicture(HWND control, int bitmapId)
{
    if (!control)
        return;
    PaintGuard guard(control);
    if (guard.dc())
        DrawKeyedBitmap(control, guard.dc(), bitmapId);
}

static void PaintStateIcon()
{
    HWND control = monitorState.controls.stateIcon;
    if (!control)
        return;
    PaintGuard guard(control);
    if (!guard.dc())
        return;
    HICON icon = StateIcon();
    if (icon)
        DrawIcon(guard.dc(), 0, 0, icon);
}

// A control already in the wanted state is left alone: disabling asks the
// window server where the focus is, even when nothing changes.
static void SetEnabled(HWND control, bool enabled)
{
    if (control && (IsWindowEnabled(control) != FALSE) != enabled)
        EnableWindow(control, enabled);
}

static void HideControl(HWND control)
{
    if (control && (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE))
        ShowWindow(control, SW_HIDE);
}

// The queue, properties, pages and progress controls stay out of sight.
static void ApplyControlStates()
{
    const PanelControls& controls = monitorState.controls;
    SetEnabled(controls.cancelJobButton, monitorState.jobWindow != nullptr);
    if (monitorState.platformId == VER_PLATFORM_WIN32s) {
        HideControl(controls.documentLabel);
        HideControl(controls.documentName);
    }
    SetEnabled(controls.queueButton, false);
    SetEnabled(controls.properties, false);
    const HWND hidden[] = {controls.queueButton, controls.properties, controls.pagesLabel,
                           controls.pagesText, controls.percentLabel, controls.progressBar};
    for (HWND control : hidden)
        HideControl(control);
}

void InvalidateStatePictures()
{
    const HWND pictures[] = {monitorState.controls.devicePicture, monitorState.controls.stateIcon};
    for (HWND control : pictures) {
        RECT area;
        if (control && GetWindowRect(control, &area)) {
            MapWindowPoints(nullptr, panelWindowObject.window, reinterpret_cast<POINT*>(&area), 2);
            InvalidateRect(panelWindowObject.window, &area, TRUE);
        }
    }
}

// Each picture drawn costs a paint cycle of its control: a state change
// repaints the device picture and the state icon only, not the logo.
static bool InPaintArea(HWND control, HWND panel, const RECT& area)
{
    RECT bounds;
    if (!control || !GetWindowRect(control, &bounds))
        return false;
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds.left < area.right && area.left < bounds.right && bounds.top < area.bottom &&
           area.top < bounds.bottom;
}

static INT_PTR OnPaint(HWND panel)
{
    PaintGuard guard(panel);
    const PanelControls& controls = monitorState.controls;
    const StatePictures& pictures = PicturesForState();
    if (InPaintArea(controls.logo, panel, guard.area()))
        PaintPicture(controls.logo, IDB_LOGO);
    if (InPaintArea(controls.devicePicture, panel, guard.area()))
        PaintPicture(controls.devicePicture, monitorState.printerNameMode ? pictures.deviceWithFeeder : pictures.device);
    if (InPaintArea(controls.stateIcon, panel, guard.area()))
        PaintStateIcon();
    ShowPageProgress(monitorState.pagesDone, monitorState.pagesTotal);
    ApplyControlStates();
    return 0;
}

static bool IsGreenOnBlack(HWND control)
{
    const PanelControls& controls = monitorState.controls;
    return control == controls.statusText || control == controls.documentName || control == controls.pagesText;
}

static INT_PTR OnControlColour(HDC dc, HWND control)
{
    if (IsGreenOnBlack(control)) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, kStatusBackColour);
        SetTextColor(dc, kStatusTextColour);
        return reinterpret_cast<INT_PTR>(statusBackBrush);
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(faceBrush);
}

static INT_PTR OnFaceColour(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(faceBrush);
}

INT_PTR CALLBACK StatusPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(panel);
    case WM_PAINT:
        return OnPaint(panel);
    case WM_COMMAND:
        return OnPanelCommand(panel, LOWORD(wParam));
    case WM_CTLCOLORSTATIC:
        return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORDLG:
        return OnFaceColour(reinterpret_cast<HDC>(wParam));
    default:
        return 0;
    }
}
