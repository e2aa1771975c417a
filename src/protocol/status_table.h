// The fixed French vocabulary of the monitor: status report texts and the
// captions of operation changes, in code page 1252.
#ifndef LUMEVIEW_STATUS_TABLE_H
#define LUMEVIEW_STATUS_TABLE_H

#include <windows.h>

// One row of the status table. A row matches a report when message is
// equal and wParam and lParam are each 0 (any) or equal.
struct StatusEntry {
    UINT message;      // LVWM_ERROR; 0 ends the table
    WPARAM wParam;     // category, 0 = any
    LPARAM lParam;     // code, 0 = any
    const char* text;  // nullptr: matches but shows nothing, the walk goes on
};

// Rows in match order, ended by a row of all zeros.
extern const StatusEntry statusTable[];

// The first row that matches a report and has a text; the catch-all row
// guarantees one for every LVWM_ERROR report.
const StatusEntry* FindStatusEntry(UINT message, WPARAM wParam, LPARAM lParam);

// True when a row matches the report by the wildcard rule.
bool StatusEntryMatches(const StatusEntry& row, UINT message, WPARAM wParam, LPARAM lParam);

// Caption of an operation code (low 16 bits of LVWM_OPERATION's wParam),
// nullptr for codes without one; an ended operation's is the panel's
// textAvailable.
const char* OperationCaption(unsigned operation);

// For listings of the table: the code name shown in a row's report key, or
// a short English description of the row ("" for the terminator).
const char* StatusRowName(const StatusEntry& row);

// Name of an error category (wParam of LVWM_ERROR); "" above 4.
const char* CategoryName(DWORD category);

#endif
