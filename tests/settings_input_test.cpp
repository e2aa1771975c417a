// The document name from the registry, and a monitor that keeps working
// whatever its settings file or the print side sends.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "help_spy.h"
#include "lumeview/protocol.h"
#include "monitor_harness.h"
#include "resource.h"

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
    ASSERT_TRUE(monitor.StartWith("[Status Monitor]\r\nevent_notification_type=1\r\n"));
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

TEST(BadSettings, StartsWithDefinedValuesWhateverTheFileHolds)
{
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise += static_cast<char>(random() & 0xFF);
    std::string manySections;
    for (int i = 0; i < 3000; ++i)
        manySections += "[Section " + std::to_string(i) + "]\r\nkey=value\r\n";
    const std::string settings[] = {
        noise,
        "[Status Monitor]\r\nevent_notification_type=" + std::string(100000, '9') + "\r\n",
        "[Status Monitor]\r\nevent_notification_type=99999999999\r\nsound_audio_alert=-1\r\nIsIcon=1abc\r\n",
        "[Status Monitor]\r\nEngssHelp=" + std::string(5000, 'h') + "\r\nQueueExe=" + std::string(5000, 'q') +
            "\r\nSoundfile=" + std::string(5000, 's') + "\r\n",
        manySections,
        "no sections at all\r\n=\r\n[\r\n]]]\r\n",
    };
    HelpSpy spy;
    for (const std::string& content : settings) {
        SCOPED_TRACE(content.substr(0, 40));
        // A help file name too long for its buffer names no help file.
        bool helpRefused = content.find("EngssHelp=hhhh") != std::string::npos;
        MonitorCopy monitor;
        monitor.WriteIni(content);
        ASSERT_TRUE(monitor.Start(""));
        ASSERT_NE(nullptr, monitor.WaitForWindow());
        EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2, 30000));
        EXPECT_EQ(helpRefused ? -1 : Error, ObservedDeviceState(monitor, spy));
        EXPECT_EQ(helpRefused ? 0u : 1u, spy.Requests().size());
        monitor.Send(WM_CLOSE);
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}

TEST(BadInput, AnyMessageAndParameterLeavesTheMonitorAnswering)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith("[Status Monitor]\r\nevent_notification_type=1\r\n"));
    HWND dead = CreateWindowA("STATIC", "gone", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(dead);
    const LPARAM values[] = {0, 1, 2, 3, 10, 30, -1, -2147483647 - 1, 0x7FFFFFFF, 0x00010001,
                             reinterpret_cast<LPARAM>(dead)};
    std::mt19937 random(11);
    for (int i = 0; i < 3000; ++i) {
        UINT message = WM_USER + random() % 260;
        if (message == LVWM_APPCLOSE || message == LVWM_APPMINIMUM || message == LVWM_OPERATION)
            continue;
        WPARAM wParam = static_cast<WPARAM>(values[random() % 11]);
        LPARAM lParam = values[random() % 11];
        bool answered = false;
        monitor.Send(message, wParam, lParam, 10000, &answered);
        ASSERT_TRUE(answered) << "message " << message << " (" << wParam << ", " << lParam << ")";
    }
    EXPECT_TRUE(monitor.Running());
    EXPECT_EQ(1, monitor.Send(LVWM_APPINIT));
    EXPECT_EQ(L"Disponible", monitor.ControlText(IDC_STATUS_TEXT));
}
