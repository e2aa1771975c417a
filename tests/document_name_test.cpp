// The document name the print side publishes in the registry and the
// monitor shows: bounded, defined when missing, never held in memory.
#include <gtest/gtest.h>

#include <string>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "process_metrics.h"
#include "resource.h"
#include "settings_text.h"
#include "text_conversion.h"

namespace {

const char kDocumentKey[] = "PrinterService\\StatusMonitor\\Document";

void PublishDocumentName(const std::string* name)
{
    if (!name) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kDocumentKey) + "\\DocName").c_str());
        return;
    }
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, (std::string(kDocumentKey) + "\\DocName").c_str(),
                                          REG_SZ, name->c_str(), static_cast<DWORD>(name->size())));
}

}  // namespace

TEST(DocumentName, ReadFromTheRegistryBoundedAndDefined)
{
    std::string exact(127, 'e');
    std::string overlong = "Rapport " + std::string(292, 'x');
    std::string accented = "Résumé d'activité.doc";
    struct Case {
        const std::string* published;
        std::string shown;
    } cases[] = {
        {&accented, accented},
        {&exact, exact},
        {&overlong, overlong.substr(0, 127)},
        {nullptr, ""},
    };
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(MonitorSettings().Key("event_notification_type", 1).Text()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.published ? std::to_string(c.published->size()) + " characters" : "no value");
        SetWindowTextA(monitor.Control(IDC_DOCUMENT_NAME), "stale");
        PublishDocumentName(c.published);
        EXPECT_EQ(1, monitor.Send(LVWM_DOCNAME, 0x1234, 0x5678));
        EXPECT_EQ(Utf16FromCp1252(c.shown), monitor.ControlText(IDC_DOCUMENT_NAME));
    }
    EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
    EXPECT_EQ(L"", monitor.ControlText(IDC_DOCUMENT_NAME)) << "a reset empties the document name";
}

TEST(DocumentName, LongNamesShowTheirBeginningUpToTheReadBound)
{
    MonitorCopy monitor(Platform::NT, "huge_document");
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_NE(nullptr, monitor.StartAndWait());
    struct Case {
        size_t length;
        bool shown;
    };
    const Case cases[] = {{200, true}, {1023, true}, {1024, false}, {1000000, false}};
    std::string subkey = std::string(kDocumentKey) + "\\DocName";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string name = "Rapport annuel " + std::string(c.length - 15, 'r');
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, name.c_str(),
                                              static_cast<DWORD>(name.size())));
        bool answered = false;
        EXPECT_EQ(1, monitor.Send(LVWM_DOCNAME, 0, 0, 20000, &answered));
        EXPECT_TRUE(answered);
        EXPECT_EQ(c.shown ? Utf16FromCp1252(name.substr(0, 127)) : L"", monitor.ControlText(IDC_DOCUMENT_NAME));
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, subkey.c_str());
    EXPECT_EQ(1, monitor.Send(LVWM_DOCNAME));
    EXPECT_EQ(L"", monitor.ControlText(IDC_DOCUMENT_NAME));
}

// Any program of the user can write the value; the monitor neither holds
// nor copies more of it than it shows.
TEST(DocumentName, OfSixtyFourMegabytesLeavesMemoryFlat)
{
    const int kMessages = 1000;
    const DWORD kTimeBound = 60000;
    const SIZE_T kMemoryBound = 4 * 1024 * 1024;
    MonitorCopy monitor(Platform::NT, "docname_64mb");
    monitor.WriteIni(MonitorSettings().Key("event_notification_type", 1).Text());
    ASSERT_NE(nullptr, monitor.StartAndWait());
    ProcessMemory start = MemoryOf(monitor.process.hProcess);
    ASSERT_NE(0u, start.workingSet) << "GetProcessMemoryInfo gave nothing";

    std::string subkey = std::string(kDocumentKey) + "\\DocName";
    struct Removal {
        std::string subkey;
        ~Removal() { RegDeleteKeyA(HKEY_CLASSES_ROOT, subkey.c_str()); }
    } removal{subkey};
    std::string name(64 * 1024 * 1024, 'r');
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, subkey.c_str(), REG_SZ, name.c_str(),
                                          static_cast<DWORD>(name.size())));
    GrowthTrend workingSet;
    DWORD began = GetTickCount();
    int sent = 0;
    for (; sent < kMessages && GetTickCount() - began < kTimeBound; ++sent) {
        if (sent % 100 == 0)
            workingSet.Add(static_cast<double>(MemoryOf(monitor.process.hProcess).workingSet));
        ASSERT_EQ(1, monitor.Send(LVWM_DOCNAME)) << "message " << sent;
    }
    EXPECT_EQ(kMessages, sent) << "each read copies the whole value";
    ProcessMemory end = MemoryOf(monitor.process.hProcess);
    EXPECT_LE(end.peakWorkingSet, start.peakWorkingSet + kMemoryBound) << "the value was held in memory";
    EXPECT_LE(workingSet.MedianStep(), 64 * 1024.0);
    EXPECT_EQ(L"", monitor.ControlText(IDC_DOCUMENT_NAME));
}
