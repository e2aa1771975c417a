// Pressing the monitor's buttons and keys from the test's process, as the
// mouse and the keyboard would, through the monitor's own message loop.
#ifndef LUMEVIEW_TEST_PANEL_INPUT_H
#define LUMEVIEW_TEST_PANEL_INPUT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "polling.h"

// Presses the button as its own mouse handling does; the dialog has run the
// command when this returns. For ASSERT_TRUE: a press that did not happen
// leaves nothing to check.
[[nodiscard]] inline testing::AssertionResult Click(HWND button)
{
    if (!IsWindow(button))
        return testing::AssertionFailure() << "no button " << button << " to press";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result))
        return testing::AssertionFailure() << "the press on " << button << " got no answer within 10 s";
    return testing::AssertionSuccess();
}

// Whether a check box or radio button of the monitor is checked; a monitor
// that no longer answers reads as unchecked instead of holding the test.
inline bool IsChecked(HWND button)
{
    DWORD_PTR state = 0;
    return SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state) && state == BST_CHECKED;
}

// For controls the monitor keeps hidden and disabled: shown and enabled
// as a dialog offering them would, so that they can be pressed or focused.
inline void Offer(HWND control)
{
    EnableWindow(control, TRUE);
    ShowWindow(control, SW_SHOWNA);
}

// The keyboard focus of the thread that owns `window`.
inline HWND FocusOf(HWND window)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    return gui.hwndFocus;
}

// Monitors of tests running beside this one may take the foreground, and
// the keyboard focus with it: takes it back for the dialog's window.
inline HWND RegainFocus(HWND dialog)
{
    HWND root = GetAncestor(dialog, GA_ROOT);
    Eventually([&] {
        if (FocusOf(dialog) == nullptr)
            SetForegroundWindow(root);
        return FocusOf(dialog) != nullptr;
    }, 2000);
    return FocusOf(dialog);
}

// A key as the keyboard delivers it to the window with the focus.
inline void PressKey(HWND target, UINT key)
{
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(key, 0)) << 16;
    PostMessageA(target, WM_KEYDOWN, key, 1 | scan);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(1 | scan | 0xC0000000u));
}

// Presses `key` on whatever has the focus in `dialog` (the dialog itself
// when nothing in it has).
inline void PressKeyIn(HWND dialog, UINT key)
{
    HWND focus = FocusOf(dialog);
    PressKey(focus && IsChild(dialog, focus) ? focus : dialog, key);
}

// Tabs through the dialog manager until `control` holds the focus.
inline bool TabTo(HWND dialog, HWND control)
{
    for (int presses = 0; presses < 12; ++presses) {
        HWND focus = RegainFocus(dialog);
        if (focus == control)
            return true;
        PressKeyIn(dialog, VK_TAB);
        Eventually([&] { return FocusOf(dialog) != focus; }, 2000);
    }
    return FocusOf(dialog) == control;
}

#endif
