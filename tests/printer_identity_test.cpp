// The printer name the print side publishes, and win.ini's default printer
// where that name is missing or too short to be one.
#include <gtest/gtest.h>

#include <string>

#include "settings/app_settings.h"

namespace {

const char kPrinterSubkey[] = "PrinterService\\StatusMonitor\\Document\\DeviceName\\Status\\Monitor";

// win.ini's default printer for the test's duration, given back after.
class DefaultPrinter {
public:
    explicit DefaultPrinter(const char* device)
    {
        GetProfileStringA("windows", "device", "", saved_, sizeof saved_);
        WriteProfileStringA("windows", "device", device);
    }
    ~DefaultPrinter() { WriteProfileStringA("windows", "device", saved_[0] ? saved_ : nullptr); }
    DefaultPrinter(const DefaultPrinter&) = delete;
    DefaultPrinter& operator=(const DefaultPrinter&) = delete;

private:
    char saved_[256] = {};
};

}  // namespace

TEST(PrinterIdentity, NamesShorterThanTwoCharactersGiveTheDefaultPrinter)
{
    DefaultPrinter fallback("Atelier,winspool,LPT1:");
    const struct {
        const char* published;  // nullptr: nothing published
        const char* expected;
    } cases[] = {{nullptr, "Atelier"}, {"", "Atelier"}, {"P", "Atelier"}, {"PQ", "PQ"}, {"Bureau 12", "Bureau 12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.published ? std::string("\"") + c.published + "\"" : "nothing");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kPrinterSubkey);
        if (c.published) {
            ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, kPrinterSubkey, REG_SZ, c.published,
                                                  static_cast<DWORD>(strlen(c.published))));
        }
        char name[kPrinterNameSize] = "untouched";
        EXPECT_EQ(1, PrinterIdentity(name));
        EXPECT_STREQ(c.expected, name);
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kPrinterSubkey);
}
