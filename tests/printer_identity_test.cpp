// The printer name the print side publishes, and win.ini's default printer
// where that name is missing or too short to be one.
#include <gtest/gtest.h>

#include <string>

#include "lumeview/protocol.h"
#include "print_side_registry.h"
#include "settings/printer_identity.h"

TEST(PrinterIdentity, NamesShorterThanTwoCharactersGiveTheDefaultPrinter)
{
    DefaultPrinter fallback;
    const struct {
        const char* published;  // nullptr: nothing published
        const char* device;     // win.ini's default printer; nullptr: none
        const char* expected;
    } cases[] = {
        // An entry that is not there cannot be removed: each "none" follows one.
        {nullptr, "Atelier,winspool,LPT1:", "Atelier"},
        {"", "Atelier,winspool,LPT1:", "Atelier"},
        {"P", nullptr, ""},
        {"P", "Atelier,winspool,LPT1:", "Atelier"},
        {nullptr, nullptr, ""},
        {"PQ", "Atelier,winspool,LPT1:", "PQ"},
        {"Bureau 12", "Atelier,winspool,LPT1:", "Bureau 12"},
        {nullptr, "Atelier", "Atelier"},  // no comma: the whole entry
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.published ? std::string("\"") + c.published + "\"" : "nothing") + ", device " +
                     (c.device ? c.device : "none"));
        WithdrawPrinterName();
        if (c.published) {
            PublishPrinterName(c.published);
        }
        fallback.Set(c.device);
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
