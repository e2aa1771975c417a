// The spooler functions of the properties command, bound at their first
// call rather than when the monitor starts: loading the spooler makes it
// ask the print system for its printers, which under Wine slowed every
// start by a fifth although most runs never open a printer. Each takes
// the arguments of the winspool function it stands for and fails like it
// (last error ERROR_PROC_NOT_FOUND) when the spooler cannot be loaded.
#ifndef LUMEVIEW_SPOOLER_H
#define LUMEVIEW_SPOOLER_H

#include <windows.h>
#include <winspool.h>

BOOL SpoolerOpenPrinter(char* printerName, HANDLE* printer, PRINTER_DEFAULTSA* defaults);
BOOL SpoolerClosePrinter(HANDLE printer);
BOOL SpoolerGetPrinter(HANDLE printer, DWORD level, BYTE* buffer, DWORD size, DWORD* needed);
BOOL SpoolerSetPrinter(HANDLE printer, DWORD level, BYTE* buffer, DWORD command);
LONG SpoolerDocumentProperties(HWND window, HANDLE printer, char* deviceName, DEVMODEA* output,
                               DEVMODEA* input, DWORD mode);
BOOL SpoolerPrinterProperties(HWND window, HANDLE printer);

#endif
