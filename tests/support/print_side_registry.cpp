#include "print_side_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "protocol/lvwm_messages.h"

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
