// Pure parts of the pages line and progress bar.
#ifndef LUMEVIEW_PROGRESS_RULES_H
#define LUMEVIEW_PROGRESS_RULES_H

#include <windows.h>

// Counts of 0 or less show as an empty line and an empty bar.
bool ProgressHasCounts(LONG done, LONG total);

// Green width for `done` of `total` pages in a bar `innerWidth` wide: the
// proportion truncated toward zero, the full width once done passes total.
LONG ProgressFillWidth(LONG done, LONG total, LONG innerWidth);

#endif
