#include "print_side_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "lumeview/protocol.h"
#include "test_files.h"

static const char kPrinterSubkey[] = LV_REGISTRY_DOCUMENT_KEY "\\" LV_REGISTRY_PRINTER_SUBKEY;

void PublishPrinterName(const std::string& name)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, kPrinterSubkey, REG_SZ, name.c_str(),
                                          static_cast<DWORD>(name.size())));
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

DefaultPrinter::DefaultPrinter(const char* device) : DefaultPrinter()
{
    Set(device);
}

DefaultPrinter::~DefaultPrinter()
{
    WriteProfileStringA("windows", "device", saved_.empty() ? nullptr : saved_.c_str());
}

void DefaultPrinter::Set(const char* device)
{
    ASSERT_TRUE(WriteProfileStringA("windows", "device", device));
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
