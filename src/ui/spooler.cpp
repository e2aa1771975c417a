#include "ui/spooler.h"

#include "settings/system_paths.h"
#include "state/setting_names.h"

namespace {

HMODULE Spooler()
{
    static HMODULE module = nullptr;
    char path[kPathSize];
    if (!module && SystemLibraryPath("winspool.drv", path, sizeof path))
        module = LoadLibraryA(path);
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

BOOL SpoolerOpenPrinter(char* printerName, HANDLE* printer, PRINTER_DEFAULTSA* defaults)
{
    static decltype(&OpenPrinterA) function = nullptr;
    return Bound(&function, "OpenPrinterA") ? function(printerName, printer, defaults) : FALSE;
}

BOOL SpoolerClosePrinter(HANDLE printer)
{
    static decltype(&ClosePrinter) function = nullptr;
    return Bound(&function, "ClosePrinter") ? function(printer) : FALSE;
}

BOOL SpoolerGetPrinter(HANDLE printer, DWORD level, BYTE* buffer, DWORD size, DWORD* needed)
{
    static decltype(&GetPrinterA) function = nullptr;
    return Bound(&function, "GetPrinterA") ? function(printer, level, buffer, size, needed) : FALSE;
}

BOOL SpoolerSetPrinter(HANDLE printer, DWORD level, BYTE* buffer, DWORD command)
{
    static decltype(&SetPrinterA) function = nullptr;
    return Bound(&function, "SetPrinterA") ? function(printer, level, buffer, command) : FALSE;
}

LONG SpoolerDocumentProperties(HWND window, HANDLE printer, char* deviceName, DEVMODEA* output,
                               DEVMODEA* input, DWORD mode)
{
    static decltype(&DocumentPropertiesA) function = nullptr;
    return Bound(&function, "DocumentPropertiesA") ? function(window, printer, deviceName, output, input, mode) : -1;
}

BOOL SpoolerPrinterProperties(HWND window, HANDLE printer)
{
    static decltype(&PrinterProperties) function = nullptr;
    return Bound(&function, "PrinterProperties") ? function(window, printer) : FALSE;
}
