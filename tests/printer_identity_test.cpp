// The printer name the print side publishes, and win.ini's default printer
// where that name is missing or too short to be one.
#include <gtest/gtest.h>

#include <string>

#include "print_side_registry.h"
#include "protocol/lvwm_messages.h"
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

// The installer or another program may keep values of its own under the
// print side's keys: only the size of the default value bounds its read.
TEST(PrintSideNames, ANamedValueBesideTheNameLeavesItReadable)
{
    DefaultPrinter fallback("Atelier,winspool,LPT1:");
    const std::string docName = LV_REGISTRY_DOCUMENT_KEY "\\" LV_REGISTRY_DOCNAME;
    const std::string printerName = LV_REGISTRY_DOCUMENT_KEY "\\" LV_REGISTRY_PRINTER_SUBKEY;
    const std::string notes(4096, 'n');
    for (const std::string& subkey : {docName, printerName}) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, "Bureau 12", 9));
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_CLASSES_ROOT, subkey.c_str(), &key));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Notes", 0, REG_SZ, reinterpret_cast<const BYTE*>(notes.c_str()),
                                                static_cast<DWORD>(notes.size() + 1)));
        RegCloseKey(key);
    }
    char document[kDocumentNameSize] = "untouched";
    ReadDocumentName(document, sizeof document);
    EXPECT_STREQ("Bureau 12", document);
    char printer[kPrinterNameSize] = "untouched";
    EXPECT_EQ(1, PrinterIdentity(printer));
    EXPECT_STREQ("Bureau 12", printer);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, docName.c_str());
    WithdrawPrinterName();
}
