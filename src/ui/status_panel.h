// The status panel: the dialog that fills the main window.
#ifndef LUMEVIEW_STATUS_PANEL_H
#define LUMEVIEW_STATUS_PANEL_H

#include <windows.h>

INT_PTR CALLBACK StatusPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the panel back into its idle look and reloads the path settings.
int ResetPanel();

// Sets a control's text unless it already shows exactly that text: under
// Wine each write goes to the window server and repaints the control.
// True when it wrote.
bool SetTextUnlessShown(HWND control, const char* text);

// Marks the device picture and the state icon for repainting, with their
// background: all that a change of the device state changes on the panel.
void InvalidateStatePictures();

// Writes the pages line and draws the progress bar.
int ShowPageProgress(LONG done, LONG total);

// Makes a font and gives it to `control`, redrawing it.
void SetControlFont(HWND control, int height, int width, int escapement, int orientation,
                    int weight, DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                    DWORD outputPrecision, DWORD clipPrecision, DWORD quality,
                    DWORD pitchAndFamily, const char* faceName);

#endif
