// The status table as data: its rows in order, the lookup rules and the
// code page 1252 bytes of its texts, checked against texts written with
// escapes (status_texts_expected.h), never against the table's literals.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "lumeview/protocol.h"
#include "protocol/protocol_rules.h"
#include "protocol/status_table.h"
#include "status_texts_expected.h"
#include "ui/idle_text.h"

namespace {

std::wstring WideFromCp1252(const char* text)
{
    wchar_t buffer[1024];
    int length = MultiByteToWideChar(1252, 0, text, -1, buffer, 1024);
    return length > 0 ? std::wstring(buffer, length - 1) : std::wstring(L"<not convertible>");
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    char cell[4];
    for (unsigned char byte : bytes) {
        snprintf(cell, sizeof cell, "%02X ", byte);
        out += cell;
    }
    return out;
}

size_t TableLength()
{
    size_t rows = 0;
    while (statusTable[rows].message != 0)
        ++rows;
    return rows;
}

const char* TextOf(DWORD category, DWORD code)
{
    const StatusEntry* row = FindStatusEntry(LVWM_ERROR, category, static_cast<LPARAM>(code));
    return row ? row->text : nullptr;
}

}  // namespace

TEST(StatusTable, HoldsTheRowsInOrderThenCatchAllThenTerminator)
{
    ASSERT_EQ(TableLength(), kExpectedRowCount + 1);
    for (size_t i = 0; i < kExpectedRowCount; ++i) {
        const ExpectedRow& expected = kExpectedRows[i];
        const StatusEntry& row = statusTable[i];
        SCOPED_TRACE(testing::Message() << "row " << i << " (" << expected.category << ", "
                                        << expected.code << ")");
        EXPECT_EQ(row.message, static_cast<UINT>(LVWM_ERROR));
        EXPECT_EQ(row.wParam, expected.category);
        EXPECT_EQ(static_cast<DWORD>(row.lParam), expected.code);
        ASSERT_NE(row.text, nullptr);
        EXPECT_EQ(WideFromCp1252(row.text), std::wstring(expected.text));
    }
    const StatusEntry& catchAll = statusTable[kExpectedRowCount];
    EXPECT_EQ(catchAll.message, static_cast<UINT>(LVWM_ERROR));
    EXPECT_EQ(catchAll.wParam, 0u);
    EXPECT_EQ(catchAll.lParam, 0);
    ASSERT_NE(catchAll.text, nullptr);
    EXPECT_STREQ(catchAll.text, "");
    const StatusEntry& end = statusTable[kExpectedRowCount + 1];
    EXPECT_EQ(end.message, 0u);
    EXPECT_EQ(end.wParam, 0u);
    EXPECT_EQ(end.lParam, 0);
    EXPECT_EQ(end.text, nullptr);
}

TEST(StatusTable, EveryReportFindsItsRowOrTheCatchAll)
{
    for (DWORD category : kReportCategories) {
        for (DWORD code : kReportCodes) {
            SCOPED_TRACE(testing::Message() << "report (" << category << ", " << code << ")");
            const char* text = TextOf(category, code);
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(WideFromCp1252(text), std::wstring(ExpectedText(category, code)));
        }
    }
}

TEST(StatusTable, ACodeOfAnotherCategoryTakesTheCatchAll)
{
    // (2, 20): category 2 and code 20 both have rows, never together.
    const StatusEntry* row = FindStatusEntry(LVWM_ERROR, OPECALL_ERROR, 20);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row, &statusTable[kExpectedRowCount]);
    EXPECT_STREQ(row->text, "");
}

TEST(StatusTable, WildcardRuleComparesWholeValues)
{
    const StatusEntry specific = {LVWM_ERROR, 3, 2, "x"};
    const StatusEntry anyCode = {LVWM_ERROR, 3, 0, "x"};
    const StatusEntry anyCategory = {LVWM_ERROR, 0, 2, "x"};
    const StatusEntry anything = {LVWM_ERROR, 0, 0, "x"};
    const struct {
        const StatusEntry* row;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool matches;
    } cases[] = {
        {&specific, LVWM_ERROR, 3, 2, true},
        {&specific, LVWM_ERROR, 3, 3, false},
        {&specific, LVWM_ERROR, 0x10003, 2, false},  // no 16-bit truncation
        {&specific, LVWM_ERROR, 3, 0x10002, false},
        {&specific, LVWM_ERROR, 0, 0, false},  // a report's 0 is no wildcard
        {&specific, LVWM_OPERATION, 3, 2, false},
        {&anyCode, LVWM_ERROR, 3, -1, true},
        {&anyCode, LVWM_ERROR, 4, 2, false},
        {&anyCategory, LVWM_ERROR, 0xFFFFFFFF, 2, true},
        {&anyCategory, LVWM_ERROR, 3, 1, false},
        {&anything, LVWM_ERROR, 0xFFFFFFFF, -1, true},
        {&anything, 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StatusEntryMatches(*c.row, c.message, c.wParam, c.lParam), c.matches)
            << "row (" << c.row->wParam << ", " << c.row->lParam << ") report " << c.message
            << " (" << c.wParam << ", " << c.lParam << ")";
    }
}

TEST(StatusTable, CopyingReportsAndCaptionShareOneText)
{
    const char* code5 = TextOf(OPECALL_RECOVER, 5);
    const char* code6 = TextOf(OPECALL_RECOVER, 6);
    EXPECT_EQ(code5, code6);
    EXPECT_EQ(code5, OperationCaption(LV_OP_COPYING));
    EXPECT_EQ(OperationCaption(LV_OP_ENDED), textAvailable);
}

TEST(StatusTable, OperationCaptions)
{
    for (const ExpectedCaption& caption : kExpectedCaptions) {
        const char* text = OperationCaption(caption.operation);
        ASSERT_NE(text, nullptr) << "operation " << caption.operation;
        EXPECT_EQ(WideFromCp1252(text), std::wstring(caption.text)) << "operation " << caption.operation;
    }
    for (unsigned operation : {0u, 3u, 9u, 11u, 21u, 31u, 0xFFFFu})
        EXPECT_EQ(OperationCaption(operation), nullptr) << "operation " << operation;
}

// The bytes themselves, spelled out in hex: accents in code page 1252, the
// trailing blank, line feeds and no carriage return or UTF-8 sequence.
TEST(StatusTable, TextsAreCodePage1252Bytes)
{
    const struct {
        DWORD category;
        DWORD code;
        const char* bytes;  // a prefix of the text
    } cases[] = {
        {2, 2, "\x45\x72\x72\x65\x75\x72\x20\x63\x6F\x6D\x6D\x75\x6E\x69\x63\x61\x74\x69\x6F\x6E\x20\x0A\x4C"},
        {3, 1, "\x50\x6F\x72\x74\x65\x20\x61\x76\x61\x6E\x74\x20\x6F\x75\x20\x6C\x61\x74\xE9\x72\x61\x6C\x65"},
        {3, 8, "\x56\xE9\x72\x69\x66\x69\x65\x72"},
        {3, 15, "\x4C\x61\x20\x63\x61\x72\x74\x6F\x75\x63\x68\x65"},
        {4, 3, "\x45\x72\x72\x65\x75\x72\x20\x69\x6D\x70\x72\x65\x73\x73\x69\x6F\x6E\x0A\x4C\x61\x20\x70\x61\x67\x65"},
    };
    for (const auto& c : cases) {
        const char* text = TextOf(c.category, c.code);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(strncmp(text, c.bytes, strlen(c.bytes)), 0)
            << "(" << c.category << ", " << c.code << ") begins " << Hex(std::string(text, strlen(c.bytes)));
    }
    // A few letters at their place: é E9, ê EA, è E8, â E2, à E0.
    std::string communication = TextOf(2, 2);
    EXPECT_NE(communication.find("c\xE2" "ble"), std::string::npos) << Hex(communication);
    std::string imageError = TextOf(2, 3);
    EXPECT_NE(imageError.find("\xEAtre incompl\xE8te"), std::string::npos) << Hex(imageError);
    std::string tonerEmpty = TextOf(3, 15);
    EXPECT_NE(tonerEmpty.find(" \xE0 Brevik."), std::string::npos) << Hex(tonerEmpty);
    EXPECT_STREQ(OperationCaption(LV_OP_SCANNING), "Num\xE9risation en cours");

    for (size_t i = 0; statusTable[i].message != 0; ++i) {
        std::string text = statusTable[i].text;
        EXPECT_EQ(text.find('\r'), std::string::npos) << "row " << i;
        EXPECT_EQ(text.find('\xC3'), std::string::npos) << "row " << i << " holds UTF-8: " << Hex(text);
    }
}

TEST(StatusTable, RowNamesForListings)
{
    const struct { DWORD category; DWORD code; const char* name; } cases[] = {
        {1, 1, "SE_PCUROM"},
        {1, 19, "SE_MFEED"},
        {2, 6, "OE_EMONMEMFULL"},
        {3, 20, "OR_TONERSNS"},
        {3, 2, "paper jam"},
        {4, 1, "toner low"},
    };
    for (const auto& c : cases) {
        const StatusEntry* row = FindStatusEntry(LVWM_ERROR, c.category, static_cast<LPARAM>(c.code));
        ASSERT_NE(row, nullptr);
        EXPECT_STREQ(StatusRowName(*row), c.name);
    }
    for (size_t i = 0; statusTable[i].message != 0; ++i)
        EXPECT_STRNE(StatusRowName(statusTable[i]), "") << "row " << i;
    EXPECT_STREQ(CategoryName(OPECALL_RECOVER), "OPECALL_RECOVER");
    EXPECT_STREQ(CategoryName(5), "");
}
