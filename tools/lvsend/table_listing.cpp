#include "table_listing.h"

#include <windows.h>

#include <string>

#include "output.h"
#include "protocol/protocol_rules.h"
#include "protocol/status_table.h"

namespace {

std::string StateText(const StatusEntry& row)
{
    if (row.wParam == 0 && row.lParam == 0)
        return "by category and code";
    StateDecision decision = DecideReportState(static_cast<DWORD>(row.wParam), static_cast<DWORD>(row.lParam));
    std::string state = decision.state == Error ? "Error" : decision.state == Warning ? "Warning" : "Ready";
    return decision.alert ? state + ", alert" : state;
}

std::string CategoryText(const StatusEntry& row)
{
    if (row.wParam == 0)
        return "any";
    char text[64];
    snprintf(text, sizeof text, "%lu %s", static_cast<unsigned long>(row.wParam),
             CategoryName(static_cast<DWORD>(row.wParam)));
    return text;
}

std::string CodeText(const StatusEntry& row)
{
    if (row.lParam == 0)
        return "any";
    return std::to_string(static_cast<unsigned long>(row.lParam));
}

// A code span keeps the double blanks; line feeds are shown as \n.
std::string MarkdownText(const char* text)
{
    if (*text == '\0')
        return "(empty)";
    std::string escaped;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n')
            escaped += "\\n";
        else if (*p == '|')
            escaped += "\\|";
        else
            escaped += *p;
    }
    return "`" + Utf8FromCp1252(escaped) + "`";
}

}  // namespace

int PrintStatusTable(bool markdown)
{
    if (markdown) {
        PrintLine("| Category | Code | Code name | Text | State |");
        PrintLine("|---|---|---|---|---|");
    }
    for (const StatusEntry* row = statusTable; row->message != 0; ++row) {
        const char* text = row->text != nullptr ? row->text : "";
        if (markdown) {
            PrintLine("| %s | %s | %s | %s | %s |", CategoryText(*row).c_str(), CodeText(*row).c_str(),
                      StatusRowName(*row), MarkdownText(text).c_str(), StateText(*row).c_str());
        } else {
            PrintLine("%lu\t%ld\t%s\t%s\t%s", static_cast<unsigned long>(row->wParam),
                      static_cast<long>(row->lParam), StatusRowName(*row),
                      Quoted(Utf8FromCp1252(text)).c_str(), StateText(*row).c_str());
        }
    }
    return ExitOk;
}
