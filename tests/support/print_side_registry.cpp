#include "print_side_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "lumeview/protocol.h"
#include "test_files.h"

static const char kPrinterSubkey[] = LV_REGISTRY_DOCUMENT_KEY "\\" LV_REGISTRY_PRINTER_SUBKEY;

testing::AssertionResult PublishPrinterName(const std::string& name)
{
    LONG written =
        RegSetValueA(HKEY_CLASSES_ROOT, kPrinterSubkey, REG_SZ, name.c_str(), static_cast<DWORD>(name.size()));
    if (written != ERROR_SUCCESS)
        return testing::AssertionFailure() << "the printer name of " << name.size()
                                           << " characters cannot be published, error " << written;
    return testing::AssertionSuccess();
}

void WithdrawPrinterName()
{
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kPrinterSubkey);
}

DefaultPrinter::DefaultPrinter()
{
    char saved[1024] = {};
    GetProfileStringA("windows", "device", "", saved, sizeof saved);
    saved_ = saved;
}

DefaultPrinter::~DefaultPrinter()
{
    WriteProfileStringA("windows", "device", saved_.empty() ? nullptr : saved_.c_str());
}

testing::AssertionResult DefaultPrinter::Set(const char* device)
{
    if (!WriteProfileStringA("windows", "device", device))
        return testing::AssertionFailure() << "win.ini's default printer cannot be set to \""
                                           << (device ? device : "(none)") << "\", error " << GetLastError();
    return testing::AssertionSuccess();
}

DriverSettings::DriverSettings()
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    path_ = std::string(windows) + "\\LGDISET.INI";
    existed_ = FileExists(path_);
    if (existed_)
        saved_ = ReadFileBytes(path_);
}

DriverSettings::~DriverSettings()
{
    if (existed_)
        WriteFileBytes(path_, saved_);
    else
        DeleteFileA(path_.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

void DriverSettings::Write(const std::string& content)
{
    WriteFileBytes(path_, content);
    // The profile functions may keep the old file cached.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}
