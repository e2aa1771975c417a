#include "ui/panel_brushes.h"

HBRUSH statusBackBrush = CreateSolidBrush(RGB(0, 0, 0));
HBRUSH progressBrush = CreateSolidBrush(RGB(0, 255, 0));
HBRUSH faceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));

void RebuildFaceBrush()
{
    DeleteObject(faceBrush);
    faceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}
