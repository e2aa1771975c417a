// A storm of the print side's messages and their neighbours, with any
// parameters, sent fast from this process into the real monitor. The
// monitor answers every one with its documented result, closes only when a
// message asks for it (and is started again), and afterwards still answers,
// holds a device state of the three, shows a text of its table and has not
// grown in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "help_spy.h"
#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "process_metrics.h"
#include "protocol/status_table.h"
#include "resource.h"
#include "settings_text.h"
#include "text_conversion.h"
#include "ui/idle_text.h"

namespace {

const DWORD kAnswerTimeoutMs = 10000;
// A close asked for by the storm costs a restart; one drawn close in this
// many is sent, so that the storm spends its time on messages.
const unsigned kCloseOneIn = 400;

const UINT kProtocol[] = {LVWM_APPINIT, LVWM_APPCLOSE, LVWM_APPSHOW, LVWM_APPMINIMUM, LVWM_JOBWINDOW,
                          LVWM_DOCNAME, LVWM_ERROR, LVWM_OPERATION, LVWM_PROGRESS, LVWM_CANCELJOB,
                          LVWM_ALERT, LVWM_SETSTATE};

// Every LVWM_ number and the numbers on either side of it.
std::vector<UINT> StormMessages()
{
    std::set<UINT> numbers;
    for (UINT message : kProtocol) {
        numbers.insert(message - 1);
        numbers.insert(message);
        numbers.insert(message + 1);
    }
    return std::vector<UINT>(numbers.begin(), numbers.end());
}

// The texts the status line may show: the table's, the operations' and
// the empty text of the catch-all row, as the control gives them back.
std::set<std::wstring> KnownStatusTexts()
{
    std::set<std::wstring> texts = {L"", Utf16FromCp1252(textAvailable)};
    for (const StatusEntry* row = statusTable; row->message != 0; ++row) {
        if (row->text)
            texts.insert(Utf16FromCp1252(row->text));
    }
    for (unsigned operation : {LV_OP_ENDED, LV_OP_PSAVEMODE, LV_OP_PRINTING, LV_OP_SCANNING, LV_OP_COPYING}) {
        if (OperationCaption(operation))
            texts.insert(Utf16FromCp1252(OperationCaption(operation)));
    }
    return texts;
}

class Storm {
public:
    Storm(MonitorCopy& monitor, int mode, unsigned seed) : monitor_(monitor), mode_(mode), random_(seed)
    {
        HWND dead = CreateWindowA("STATIC", "gone", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        DestroyWindow(dead);
        deadWindow_ = reinterpret_cast<LPARAM>(dead);
        messages_ = StormMessages();
    }

    testing::AssertionResult Start() { return monitor_.StartWith(ModeSettings(mode_)); }

    // Sends `count` messages; closes are allowed unless `keepOpen`.
    void Run(int count, bool keepOpen)
    {
        for (int i = 0; i < count; ++i) {
            UINT message = messages_[random_() % messages_.size()];
            WPARAM wParam = static_cast<WPARAM>(Value());
            LPARAM lParam = Value();
            bool closes = Closes(message, wParam);
            if (closes && (keepOpen || random_() % kCloseOneIn != 0))
                continue;
            bool answered = false;
            LRESULT result = monitor_.Send(message, wParam, lParam, kAnswerTimeoutMs, &answered);
            ++sent_;
            ASSERT_TRUE(answered) << Describe(message, wParam, lParam) << " got no answer";
            ASSERT_EQ(Expected(message, wParam), result) << Describe(message, wParam, lParam);
            if (closes) {
                ASSERT_EQ(0u, monitor_.WaitForExit()) << Describe(message, wParam, lParam) << " did not end it";
                ++restarts_;
                ASSERT_TRUE(Start());
            } else {
                ASSERT_TRUE(monitor_.Running()) << Describe(message, wParam, lParam) << " ended the monitor";
            }
        }
    }

    int Sent() const { return sent_; }
    int Restarts() const { return restarts_; }

private:
    // 0, 1, small numbers, negative ones, the all-ones word, a handle of a
    // window that no longer exists, and any 32-bit value.
    LPARAM Value()
    {
        switch (random_() % 10) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
        case 3:
            return static_cast<LPARAM>(random_() % 40);
        case 4:
            return -static_cast<LPARAM>(random_() % 5) - 1;
        case 5:
            return static_cast<LPARAM>(0xFFFFFFFFu);
        case 6:
            return deadWindow_;
        case 7:
            return static_cast<LPARAM>(0x00010000u | (random_() % 3));
        default:
            return static_cast<LPARAM>(random_());
        }
    }

    bool Closes(UINT message, WPARAM wParam) const
    {
        return message == LVWM_APPCLOSE || (message == LVWM_OPERATION && LOWORD(wParam) == LV_OP_ENDED && mode_ != 1);
    }

    // The documented result of each message; the default procedure's 0 for
    // the numbers the monitor does not handle.
    static LRESULT Expected(UINT message, WPARAM wParam)
    {
        switch (message) {
        case LVWM_APPINIT:
        case LVWM_APPCLOSE:
        case LVWM_APPSHOW:
        case LVWM_APPMINIMUM:
        case LVWM_JOBWINDOW:
        case LVWM_DOCNAME:
        case LVWM_ERROR:
        case LVWM_OPERATION:
        case LVWM_ALERT:
            return 1;
        case LVWM_PROGRESS:
            return wParam == LV_PROGRESS_DONE || wParam == LV_PROGRESS_TOTAL ? 1 : 0;
        case LVWM_SETSTATE:
            return wParam <= Error ? 1 : 0;
        default:
            return 0;
        }
    }

    static std::string Describe(UINT message, WPARAM wParam, LPARAM lParam)
    {
        char text[96];
        snprintf(text, sizeof text, "message %u (0x%08lX, 0x%08lX)", message, static_cast<unsigned long>(wParam),
                 static_cast<unsigned long>(lParam));
        return text;
    }

    MonitorCopy& monitor_;
    int mode_;
    std::mt19937 random_;
    LPARAM deadWindow_ = 0;
    std::vector<UINT> messages_;
    int sent_ = 0;
    int restarts_ = 0;
};

// What the monitor must be after any storm.
void ExpectSoundMonitor(MonitorCopy& monitor)
{
    bool answered = false;
    EXPECT_EQ(0, monitor.Send(WM_NULL, 0, 0, 5000, &answered));
    EXPECT_TRUE(answered) << "the monitor no longer answers within its time";
    std::wstring status = monitor.ControlText(IDC_STATUS_TEXT);
    EXPECT_EQ(1u, KnownStatusTexts().count(status))
        << "status text \"" << Utf8FromUtf16(status) << "\" is not one of the table";
    HelpSpy spy;
    int state = ObservedDeviceState(monitor, spy);
    EXPECT_TRUE(state == Ready || state == Warning || state == Error) << "device state " << state;
}

}  // namespace

TEST(ReliabilityStorm, AlwaysShownMonitorAnswersEveryMessageAndDoesNotGrow)
{
    MonitorCopy monitor(Platform::NT, "storm_always");
    Storm storm(monitor, 1, 20240601);
    ASSERT_TRUE(storm.Start());
    storm.Run(43000, false);
    ASSERT_FALSE(testing::Test::HasFatalFailure());

    // The same storm without closes, on one process: after a warm-up its
    // memory does not grow from one stretch of messages to the next.
    storm.Run(5000, true);
    ASSERT_FALSE(testing::Test::HasFatalFailure());
    GrowthTrend workingSet;
    GrowthTrend privateBytes;
    for (int stretch = 0; stretch <= 6; ++stretch) {
        if (stretch > 0)
            storm.Run(2500, true);
        ASSERT_FALSE(testing::Test::HasFatalFailure());
        ProcessMemory memory = MemoryOf(monitor.process.hProcess);
        ASSERT_NE(0u, memory.workingSet) << "GetProcessMemoryInfo gave nothing";
        workingSet.Add(static_cast<double>(memory.workingSet));
        privateBytes.Add(static_cast<double>(memory.privateBytes));
    }
    EXPECT_LE(workingSet.MedianStep(), kMemoryStepBound) << "working set grows with the messages";
    EXPECT_LE(privateBytes.MedianStep(), kMemoryStepBound) << "private bytes grow with the messages";
    EXPECT_LE(workingSet.Total(), kMemoryTotalBound);
    EXPECT_LE(privateBytes.Total(), kMemoryTotalBound);

    ExpectSoundMonitor(monitor);
    // With the other storm, more than 100,000 messages.
    EXPECT_GE(storm.Sent(), 58000);
    printf("%d messages sent, %d restarts\n", storm.Sent(), storm.Restarts());
}

TEST(ReliabilityStorm, ShowWhilePrintingMonitorAnswersEveryMessageAndClosesOnlyWhenAsked)
{
    MonitorCopy monitor(Platform::NT, "storm_printing");
    Storm storm(monitor, 0, 19930815);
    ASSERT_TRUE(storm.Start());
    storm.Run(52000, false);
    ASSERT_FALSE(testing::Test::HasFatalFailure());
    EXPECT_GT(storm.Restarts(), 0) << "no close was drawn: the storm did not reach the end of an operation";
    ExpectSoundMonitor(monitor);
    EXPECT_GE(storm.Sent(), 48000);
    printf("%d messages sent, %d restarts\n", storm.Sent(), storm.Restarts());
}
