// Brushes shared by the main window and the panel for the whole run.
#ifndef LUMEVIEW_SHARED_BRUSHES_H
#define LUMEVIEW_SHARED_BRUSHES_H

#include <windows.h>

extern HBRUSH statusBackBrush;  // black behind the green texts
extern HBRUSH progressBrush;    // green part of the progress bar
extern HBRUSH faceBrush;        // button face; rebuilt when system colours change

void RebuildFaceBrush();

#endif
