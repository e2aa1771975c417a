// The built programs import only the calls that docs/imports.md lists for
// them, none newer than the program's floor.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pe_image.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

// The tables of docs/imports.md: the cells of each row under a heading,
// its header and separator rows left out.
std::vector<std::vector<std::string>> TableUnder(const std::string& document, const std::string& heading)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(document);
    std::string line;
    bool inside = false;
    int tableLine = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("## ", 0) == 0) {
            inside = line == "## " + heading;
            tableLine = 0;
            continue;
        }
        if (!inside || line.empty() || line[0] != '|' || ++tableLine <= 2)
            continue;
        std::vector<std::string> cells;
        std::istringstream row(line.substr(1));
        std::string cell;
        while (std::getline(row, cell, '|')) {
            size_t first = cell.find_first_not_of(' ');
            size_t last = cell.find_last_not_of(' ');
            cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
        }
        rows.push_back(cells);
    }
    return rows;
}

struct ImportDocument {
    std::vector<std::string> levels;             // oldest first
    std::vector<std::vector<std::string>> floors;  // program, level
    std::vector<std::vector<std::string>> rows;    // program, DLL, function, level, why
};

ImportDocument ReadDocument()
{
    std::string text = ReadFileBytes(TestEnvironment("LUMEVIEW_SOURCE") + "\\docs\\imports.md");
    ImportDocument document;
    for (const auto& row : TableUnder(text, "Windows, oldest first"))
        document.levels.push_back(row.at(0));
    document.floors = TableUnder(text, "Floors");
    document.rows = TableUnder(text, "Imports");
    return document;
}

int LevelIndex(const ImportDocument& document, const std::string& level)
{
    for (size_t i = 0; i < document.levels.size(); ++i)
        if (document.levels[i] == level)
            return static_cast<int>(i);
    return -1;
}

std::string ProgramImage(const std::string& program)
{
    return ReadFileBytes(TestEnvironment("LUMEVIEW_BIN") + "\\" + program);
}

}  // namespace

TEST(ImportTable, EveryImportIsListedAndNoNewerThanTheProgramsFloor)
{
    ImportDocument document = ReadDocument();
    ASSERT_FALSE(document.floors.empty()) << "docs/imports.md has no floors";
    for (const auto& floor : document.floors) {
        SCOPED_TRACE(floor.at(0));
        int floorIndex = LevelIndex(document, floor.at(1));
        ASSERT_GE(floorIndex, 0) << "unknown floor " << floor.at(1);
        std::string image = ProgramImage(floor.at(0));
        const IMAGE_NT_HEADERS32* nt = PeHeaders(image);
        ASSERT_NE(nullptr, nt) << "not a 32-bit program";
        // Windows 95 and NT 4.0 refuse a program whose header asks for more.
        EXPECT_LE(nt->OptionalHeader.MajorSubsystemVersion, 4);
        EXPECT_LE(nt->OptionalHeader.MajorOperatingSystemVersion, 4);
        std::set<PeImport> imports = ReadImports(image);
        EXPECT_FALSE(imports.empty()) << "no import table read";
        for (const PeImport& import : imports) {
            const std::vector<std::string>* found = nullptr;
            for (const auto& row : document.rows)
                if (row.at(0) == floor.at(0) && Upper(row.at(1)) == import.dll && row.at(2) == import.function)
                    found = &row;
            if (!found) {
                ADD_FAILURE() << "no row for " << import.dll << " " << import.function << ": add\n| " << floor.at(0)
                              << " | " << import.dll << " | " << import.function << " | <oldest Windows> | <why> |";
                continue;
            }
            int level = LevelIndex(document, found->at(3));
            EXPECT_GE(level, 0) << import.function << ": unknown Windows " << found->at(3);
            EXPECT_LE(level, floorIndex) << import.dll << " " << import.function << " needs Windows " << found->at(3)
                                         << ", newer than the floor " << floor.at(1);
        }
    }
}

TEST(ImportTable, NoRowForACallTheProgramNoLongerImports)
{
    ImportDocument document = ReadDocument();
    for (const auto& floor : document.floors) {
        std::set<PeImport> imports = ReadImports(ProgramImage(floor.at(0)));
        for (const auto& row : document.rows) {
            if (row.at(0) != floor.at(0))
                continue;
            EXPECT_EQ(1u, imports.count({Upper(row.at(1)), row.at(2)}))
                << "docs/imports.md lists " << row.at(0) << " " << row.at(1) << " " << row.at(2)
                << ", which it does not import: remove the row";
        }
    }
    for (const auto& row : document.rows) {
        bool known = false;
        for (const auto& floor : document.floors)
            known = known || floor.at(0) == row.at(0);
        EXPECT_TRUE(known) << row.at(0) << " has no floor";
    }
}
