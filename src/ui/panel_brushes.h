// The brushes the panel paints with, made before start-up and kept for the
// whole run.
#ifndef LUMEVIEW_PANEL_BRUSHES_H
#define LUMEVIEW_PANEL_BRUSHES_H

#include <windows.h>

extern HBRUSH statusBackBrush;  // black behind the green texts
extern HBRUSH progressBrush;    // green part of the progress bar
extern HBRUSH faceBrush;        // button face; rebuilt when system colours change

void RebuildFaceBrush();

#endif
