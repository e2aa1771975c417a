// The options dialog. The mode follows the radio buttons at once; only OK
// writes it to the settings file.
#include "ui/options_dialog.h"

#include "resource.h"
#include "settings/settings_store.h"
#include "state/current_dialog.h"
#include "state/monitor_state.h"
#include "state/window_object.h"
#include "ui/help_topic_lookup.h"
#include "ui/help_viewer.h"

struct ControlCaption {
    int control;
    const char* caption;
};

static const ControlCaption kCaptions[] = {
    {IDC_NOTIFY_GROUP, "Avis d'opération"},
    {IDC_MODE_WHILE_PRINTING, "Afficher le Gestionnaire d'état pendant l'impression"},
    {IDC_MODE_ALWAYS, "Toujours afficher le Gestionnaire d'état"},
    {IDC_MODE_OFF, "Fenêtre d'état désactivée"},
    {IDC_ALERT_CHECK, "Tonalité d'alarme"},
    {IDC_OPTIONS_OK, "OK"},
    {IDC_OPTIONS_CANCEL, "Annuler"},
};

static const ControlTopic kOptionsTopics[] = {
    {IDC_OPTIONS_OK, IDH_OPTIONS_OK},
    {IDC_OPTIONS_CANCEL, IDH_OPTIONS_CANCEL},
    {IDC_MODE_WHILE_PRINTING, IDH_NOTIFY_MODE},
    {IDC_MODE_ALWAYS, IDH_NOTIFY_MODE},
    {IDC_MODE_OFF, IDH_NOTIFY_MODE},
    {IDC_ALERT_CHECK, IDH_ALERT_CHECK},
};

// Radio button of each mode, in mode order.
static const int kModeButtons[] = {IDC_MODE_WHILE_PRINTING, IDC_MODE_ALWAYS, IDC_MODE_OFF};

static INT_PTR OnInitDialog(HWND dialog)
{
    SetWindowTextA(dialog, "Options");
    for (const ControlCaption& entry : kCaptions)
        SetWindowTextA(GetDlgItem(dialog, entry.control), entry.caption);

    // An unknown mode shows the first choice but stays as read until the
    // user picks one.
    LONG mode = monitorState.notificationMode;
    int checked = mode >= NotifyWhilePrinting && mode <= NotifyOff ? kModeButtons[mode] : IDC_MODE_WHILE_PRINTING;
    CheckRadioButton(dialog, IDC_MODE_WHILE_PRINTING, IDC_MODE_OFF, checked);

    CheckDlgButton(dialog, IDC_ALERT_CHECK, monitorState.alertEnabled != 0 ? BST_CHECKED : BST_UNCHECKED);
    // The alert is not the user's to change here.
    HWND alertCheck = GetDlgItem(dialog, IDC_ALERT_CHECK);
    EnableWindow(alertCheck, FALSE);
    ShowWindow(alertCheck, SW_HIDE);
    return 1;
}

// The panel becomes current and takes input again before the dialog goes:
// what the opening below changed is put back.
static void CloseOptions(HWND dialog)
{
    currentDialog = panelWindowObject.window;
    EnableWindow(mainWindowObject.window, TRUE);
    DestroyWindow(dialog);
}

static void OnCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDC_OPTIONS_OK:
        SaveNotificationSettings();
        CloseOptions(dialog);
        break;
    case IDC_OPTIONS_CANCEL:
        LoadNotificationSettings();
        CloseOptions(dialog);
        break;
    case IDC_MODE_WHILE_PRINTING:
        monitorState.notificationMode = NotifyWhilePrinting;
        break;
    case IDC_MODE_ALWAYS:
        monitorState.notificationMode = NotifyAlways;
        break;
    case IDC_MODE_OFF:
        monitorState.notificationMode = NotifyOff;
        break;
    case IDC_ALERT_CHECK:
        monitorState.alertEnabled = IsDlgButtonChecked(dialog, IDC_ALERT_CHECK) == BST_CHECKED ? 1 : 0;
        break;
    case IDM_CONTEXT_HELP:
        ShowHelpTopic(dialog, HelpTopicOf(kOptionsTopics, GetDlgCtrlID(GetFocus()), IDH_OPTIONS_DIALOG));
        break;
    default:
        break;
    }
}

static INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return 0;
    default:
        return 0;
    }
}

// The panel takes no input while the dialog is open; the dialog gives it
// back when it closes. A second request while one is open (it can only
// come from outside) is left alone: two dialogs would each give the input
// back on closing, the other still open.
void OpenOptionsDialog()
{
    if (currentDialog != panelWindowObject.window)
        return;
    HWND dialog = CreateDialogParamA(monitorState.instance, MAKEINTRESOURCEA(IDD_OPTIONS),
                                     mainWindowObject.window, OptionsDialogProc, 0);
    if (!dialog)
        return;
    ShowWindow(dialog, SW_SHOW);
    currentDialog = dialog;
    EnableWindow(mainWindowObject.window, FALSE);
}
