// Every status report and operation change, sent from this process into
// the real monitor: the status text read back as UTF-16 and compared with
// texts written as \u escapes, and the state that results.
//
// The state is observed through the Help button: on Windows 95 and NT the
// monitor opens the help topic of its device state (502 Ready, 503 Warning,
// 504 Error), which the help spy receives. The window's class icon would say
// the same, but Wine does not answer GCL_HICON for another process's window.
// The alert is heard on the audio device that the test's ALSA configuration
// turns into a file.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "help_spy.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "resource.h"
#include "settings_text.h"
#include "status_texts_expected.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

// Alert on, with a sound of 10 ms written beside the copy.
std::string AlertSettings(const MonitorCopy& monitor)
{
    std::string samples(160, '\x10');
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    WriteFileBytes(monitor.directory + "alert.wav",
                   "RIFF" + u32(36 + 160) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(8000) + u32(16000) +
                       u16(2) + u16(16) + "data" + u32(160) + samples);
    return MonitorSettings()
        .Key("event_notification_type", 1)
        .Key("sound_audio_alert", 1)
        .Key("Soundfile", monitor.directory + "alert.wav")
        .Text();
}

std::string Report(DWORD category, DWORD code)
{
    char text[64];
    snprintf(text, sizeof text, "report (%lu, %lu)", static_cast<unsigned long>(category),
             static_cast<unsigned long>(code));
    return text;
}

// Puts a known text in the status control first, so that a report that
// wrote nothing cannot pass for one that wrote the same text.
void PrimeStatusText(MonitorCopy& monitor)
{
    ASSERT_EQ(1, monitor.Send(LVWM_OPERATION, LV_OP_PRINTING));
    ASSERT_EQ(std::wstring(L"Impression en cours"), monitor.ControlText(IDC_STATUS_TEXT));
}

void ExpectReportShows(MonitorCopy& monitor, DWORD category, DWORD code, const wchar_t* expected)
{
    SCOPED_TRACE(Report(category, code));
    PrimeStatusText(monitor);
    EXPECT_EQ(1, monitor.Send(LVWM_ERROR, category, static_cast<LPARAM>(code)));
    EXPECT_EQ(std::wstring(expected), monitor.ControlText(IDC_STATUS_TEXT));
}

int StateNumber(ExpectedState state)
{
    return state == kReady ? Ready : state == kWarning ? Warning : Error;
}

// Another state than the one expected, so that the report must change it.
DeviceState OtherState(ExpectedState state)
{
    return state == kErrorAlert ? Warning : Error;
}

void ExpectReportSets(MonitorCopy& monitor, HelpSpy& spy, DWORD category, DWORD code)
{
    ExpectedState expected = ExpectedStateOf(category, code);
    SCOPED_TRACE(Report(category, code) + " expecting " + StateName(expected));
    ASSERT_EQ(1, monitor.Send(LVWM_SETSTATE, OtherState(expected)));
    ASSERT_EQ(static_cast<int>(OtherState(expected)), ObservedDeviceState(monitor, spy));
    const std::string soundOut = TestEnvironment("LUMEVIEW_SOUND_OUT");
    DeleteFileA(soundOut.c_str());
    // The alert plays before the report returns.
    EXPECT_EQ(1, monitor.Send(LVWM_ERROR, category, static_cast<LPARAM>(code), 30000));
    EXPECT_EQ(expected == kErrorAlert, !ReadFileBytes(soundOut).empty()) << "alert";
    EXPECT_EQ(StateNumber(expected), ObservedDeviceState(monitor, spy));
}

}  // namespace

TEST(StatusTexts, EveryRowShowsItsText)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    for (const ExpectedRow& row : kExpectedRows)
        ExpectReportShows(monitor, row.category, row.code, row.text);
}

TEST(StatusTexts, EveryReportWithoutARowEmptiesTheText)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    int reports = 0;
    for (DWORD category : kReportCategories) {
        for (DWORD code : kReportCodes) {
            if (ExpectedRowOf(category, code) != nullptr)
                continue;
            ExpectReportShows(monitor, category, code, L"");
            ++reports;
        }
    }
    EXPECT_EQ(reports, static_cast<int>(sizeof kReportCategories / sizeof kReportCategories[0] *
                                        (sizeof kReportCodes / sizeof kReportCodes[0]) - kExpectedRowCount));
}

TEST(StatusTexts, ACodeListedOnlyInAnotherCategoryTakesTheCatchAll)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    // 20 is a code of categories 1 and 3, never of 2.
    ExpectReportShows(monitor, OPECALL_ERROR, 20, L"");
    ExpectReportShows(monitor, OPECALL_WARNING, 20, L"");
    ExpectReportShows(monitor, SERVICE_ERROR, 20, ExpectedText(SERVICE_ERROR, 20));
}

TEST(StatusTexts, CommunicationErrorKeepsTheBlankAtTheEndOfItsFirstLine)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_ERROR, 2));
    std::wstring text = monitor.ControlText(IDC_STATUS_TEXT);
    ASSERT_NE(std::wstring::npos, text.find(L'\n'));
    EXPECT_EQ(std::wstring(L"Erreur communication "), text.substr(0, text.find(L'\n')));
    EXPECT_EQ(std::wstring::npos, text.find(L'\r'));

    // The bytes as the monitor holds them, read back in the ANSI code page.
    char bytes[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(monitor.Control(IDC_STATUS_TEXT), WM_GETTEXT, sizeof bytes,
                        reinterpret_cast<LPARAM>(bytes), SMTO_NORMAL, 5000, &copied);
    const char expectedStart[] = "\x45\x72\x72\x65\x75\x72\x20\x63\x6F\x6D\x6D\x75\x6E\x69\x63\x61"
                                 "\x74\x69\x6F\x6E\x20\x0A";
    EXPECT_EQ(std::string(expectedStart), std::string(bytes, sizeof expectedStart - 1));
    EXPECT_NE(std::string::npos, std::string(bytes).find("l'op\xE9ration en cours, v\xE9rifier le c\xE2" "ble"));
}

TEST(StatusTexts, FeederJamShowsThreeLines)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 13));
    std::wstring text = monitor.ControlText(IDC_STATUS_TEXT);
    size_t first = text.find(L'\n');
    size_t second = text.find(L'\n', first + 1);
    ASSERT_NE(std::wstring::npos, second);
    EXPECT_EQ(std::wstring::npos, text.find(L'\n', second + 1));
    EXPECT_EQ(std::wstring(L"Incident chargeur de documents"), text.substr(0, first));
    EXPECT_EQ(std::wstring(L"Retirer les documents bloqu\u00e9s du chargeur de documents."),
              text.substr(first + 1, second - first - 1));
    EXPECT_EQ(std::wstring(L"R\u00e9arranger le dernier ou les 2 derniers documents et relancer le travail."),
              text.substr(second + 1));
}

TEST(StatusTexts, EveryRowSetsItsState)
{
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(AlertSettings(monitor)));
    for (const ExpectedRow& row : kExpectedRows) {
        ASSERT_EQ(row.state, ExpectedStateOf(row.category, row.code)) << Report(row.category, row.code);
        ExpectReportSets(monitor, spy, row.category, row.code);
    }
}

TEST(StatusTexts, EveryReportWithoutARowSetsTheStateOfItsCategoryAndCode)
{
    HelpSpy spy;
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(AlertSettings(monitor)));
    for (DWORD category : kReportCategories) {
        for (DWORD code : kReportCodes) {
            if (ExpectedRowOf(category, code) == nullptr)
                ExpectReportSets(monitor, spy, category, code);
        }
    }
}

TEST(OperationCaptions, EachOperationWritesItsCaption)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    for (const ExpectedCaption& caption : kExpectedCaptions) {
        SCOPED_TRACE("operation " + std::to_string(caption.operation));
        ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2));
        ASSERT_EQ(std::wstring(L"Incident papier"), monitor.ControlText(IDC_STATUS_TEXT));
        EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, caption.operation));
        EXPECT_EQ(std::wstring(caption.text), monitor.ControlText(IDC_STATUS_TEXT));
    }
    // Only the low 16 bits name the operation.
    EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, 0x10000 | LV_OP_SCANNING));
    EXPECT_EQ(std::wstring(L"Num\u00e9risation en cours"), monitor.ControlText(IDC_STATUS_TEXT));
}

TEST(OperationCaptions, AnUnlistedOperationLeavesTheTextAlone)
{
    MonitorCopy monitor;
    ASSERT_TRUE(monitor.StartWith(ModeSettings(1)));
    for (WPARAM operation : {0u, 3u, 9u, 11u, 21u, 31u, 0xFFFFu, 0x10000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE("operation " + std::to_string(operation));
        ASSERT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_WARNING, 1));
        EXPECT_EQ(1, monitor.Send(LVWM_OPERATION, operation));
        EXPECT_EQ(std::wstring(ExpectedText(OPECALL_WARNING, 1)), monitor.ControlText(IDC_STATUS_TEXT));
    }
}
