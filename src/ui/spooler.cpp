// The spooler functions of the properties command, bound at their first
// call rather than when the monitor starts: loading the spooler makes it
// ask the print system for its printers, which under Wine slowed every
// start by a fifth although most runs never open a printer. Same names and
// signatures as winspool.h, so the callers do not change.
#include <windows.h>
#include <winspool.h>

namespace {

HMODULE Spooler()
{
    static HMODULE module = nullptr;
    if (!module)
        module = LoadLibraryA("winspool.drv");
    return module;
}

// The spooler's own function, looked up once; nullptr when missing.
template <typename Function>
Function Bound(Function* cache, const char* name)
{
    if (!*cache) {
        HMODULE module = Spooler();
        if (module)
            *cache = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    if (!*cache)
        SetLastError(ERROR_PROC_NOT_FOUND);
    return *cache;
}

}  // namespace

WINBOOL WINAPI OpenPrinterA(LPSTR printerName, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults)
{
    static decltype(&OpenPrinterA) function = nullptr;
    return Bound(&function, "OpenPrinterA") ? function(printerName, printer, defaults) : FALSE;
}

WINBOOL WINAPI ClosePrinter(HANDLE printer)
{
    static decltype(&ClosePrinter) function = nullptr;
    return Bound(&function, "ClosePrinter") ? function(printer) : FALSE;
}

WINBOOL WINAPI GetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    static decltype(&GetPrinterA) function = nullptr;
    return Bound(&function, "GetPrinterA") ? function(printer, level, buffer, size, needed) : FALSE;
}

WINBOOL WINAPI SetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD command)
{
    static decltype(&SetPrinterA) function = nullptr;
    return Bound(&function, "SetPrinterA") ? function(printer, level, buffer, command) : FALSE;
}

LONG WINAPI DocumentPropertiesA(HWND window, HANDLE printer, LPSTR deviceName, PDEVMODEA output,
                                PDEVMODEA input, DWORD mode)
{
    static decltype(&DocumentPropertiesA) function = nullptr;
    return Bound(&function, "DocumentPropertiesA") ? function(window, printer, deviceName, output, input, mode) : -1;
}

WINBOOL WINAPI PrinterProperties(HWND window, HANDLE printer)
{
    static decltype(&PrinterProperties) function = nullptr;
    return Bound(&function, "PrinterProperties") ? function(window, printer) : FALSE;
}
