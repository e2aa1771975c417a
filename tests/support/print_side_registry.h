// What the print side publishes for the monitor, set by tests as the print
// side would: the printer name in the registry, and win.ini's default
// printer that stands in when no name is published.
#ifndef LUMEVIEW_TEST_PRINT_SIDE_REGISTRY_H
#define LUMEVIEW_TEST_PRINT_SIDE_REGISTRY_H

#include <string>

// The printer name as the print side publishes it; a failure when it
// cannot be written.
void PublishPrinterName(const std::string& name);
void WithdrawPrinterName();

// win.ini's default printer for a test's duration, given back after.
class DefaultPrinter {
public:
    DefaultPrinter();
    explicit DefaultPrinter(const char* device);
    ~DefaultPrinter();
    DefaultPrinter(const DefaultPrinter&) = delete;
    DefaultPrinter& operator=(const DefaultPrinter&) = delete;

    // nullptr removes the entry.
    void Set(const char* device);

private:
    std::string saved_;
};

#endif
