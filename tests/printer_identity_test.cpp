// The printer name the print side publishes, and win.ini's default printer
// where that name is missing or too short to be one.
#include <gtest/gtest.h>

#include <string>

#include "print_side_registry.h"
#include "settings/app_settings.h"

TEST(PrinterIdentity, NamesShorterThanTwoCharactersGiveTheDefaultPrinter)
{
    DefaultPrinter fallback("Atelier,winspool,LPT1:");
    const struct {
        const char* published;  // nullptr: nothing published
        const char* expected;
    } cases[] = {{nullptr, "Atelier"}, {"", "Atelier"}, {"P", "Atelier"}, {"PQ", "PQ"}, {"Bureau 12", "Bureau 12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.published ? std::string("\"") + c.published + "\"" : "nothing");
        WithdrawPrinterName();
        if (c.published) {
            PublishPrinterName(c.published);
        }
        char name[kPrinterNameSize] = "untouched";
        EXPECT_EQ(1, PrinterIdentity(name));
        EXPECT_STREQ(c.expected, name);
    }
    WithdrawPrinterName();
}
