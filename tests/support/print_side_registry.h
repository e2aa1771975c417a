// What the print side publishes for the monitor, set by tests as the print
// side would: the printer name in the registry, win.ini's default printer
// that stands in when no name is published, and the driver's settings file.
#ifndef LUMEVIEW_TEST_PRINT_SIDE_REGISTRY_H
#define LUMEVIEW_TEST_PRINT_SIDE_REGISTRY_H

#include <gtest/gtest.h>

#include <string>

// The printer name as the print side publishes it; for ASSERT_TRUE.
[[nodiscard]] testing::AssertionResult PublishPrinterName(const std::string& name);
void WithdrawPrinterName();

// win.ini's default printer for a test's duration, given back after.
class DefaultPrinter {
public:
    DefaultPrinter();
    ~DefaultPrinter();
    DefaultPrinter(const DefaultPrinter&) = delete;
    DefaultPrinter& operator=(const DefaultPrinter&) = delete;

    // nullptr removes the entry; for ASSERT_TRUE.
    [[nodiscard]] testing::AssertionResult Set(const char* device);

private:
    std::string saved_;
};

// The driver's settings file (LGDISET.INI in the Windows folder) for a
// test's duration, given back as it was.
class DriverSettings {
public:
    DriverSettings();
    ~DriverSettings();
    DriverSettings(const DriverSettings&) = delete;
    DriverSettings& operator=(const DriverSettings&) = delete;

    // The file's bytes as they are, past the profile functions' cache.
    void Write(const std::string& content);
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool existed_ = false;
    std::string saved_;
};

#endif
