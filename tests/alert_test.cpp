// The alert: the sound file's samples reach the audio device before the
// status report returns; nothing sounds unless the setting is exactly 1.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "lumeview/protocol.h"
#include "monitor_copy.h"
#include "settings_text.h"
#include "test_environment.h"
#include "test_files.h"

namespace {

// A 16-bit mono PCM file whose sample bytes are known.
std::string MakeWave(size_t samples)
{
    std::string data;
    for (size_t i = 0; i < samples; ++i) {
        int16_t sample = static_cast<int16_t>(8000 * std::sin(i * 0.3));
        data.append(reinterpret_cast<const char*>(&sample), sizeof sample);
    }
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + u32(36 + static_cast<uint32_t>(data.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
           u32(8000) + u32(16000) + u16(2) + u16(16) + "data" + u32(static_cast<uint32_t>(data.size())) + data;
}

// 16-bit samples without the silent ones.
std::string Sounding(const std::string& samples)
{
    std::string sounding;
    for (size_t at = 0; at + 1 < samples.size(); at += 2) {
        if (samples[at] != 0 || samples[at + 1] != 0)
            sounding.append(samples, at, 2);
    }
    return sounding;
}

// The audio device is a file (see the test's ALSA configuration).
class SoundSink {
public:
    SoundSink() : outPath_(TestEnvironment("LUMEVIEW_SOUND_OUT")) { DeleteFileA(outPath_.c_str()); }
    std::string Played() const { return ReadFileBytes(outPath_); }
    // What sounded: Wine's ALSA driver writes a period of silence when the
    // player falls behind its timer (seen once under load: 10 ms more), so
    // only the sounding samples are compared, in their order.
    std::string Sounded() const { return Sounding(Played()); }
    void Clear() const { DeleteFileA(outPath_.c_str()); }

private:
    std::string outPath_;
};

// Starts the monitor under a debugger of the test's own that keeps a
// breakpoint on Beep and records the frequency and duration of each call.
// Wine's Beep makes no sound without a terminal, so this is where a beep
// can be seen.
class BeepWatch {
public:
    explicit BeepWatch(MonitorCopy& monitor) : monitor_(monitor)
    {
        beep_ = reinterpret_cast<BYTE*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "Beep"));
        started_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(started_, 15000));
    }
    ~BeepWatch()
    {
        stop_ = true;
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(thread_, 15000));
        CloseHandle(thread_);
        CloseHandle(started_);
    }
    BeepWatch(const BeepWatch&) = delete;
    BeepWatch& operator=(const BeepWatch&) = delete;

    std::vector<std::pair<DWORD, DWORD>> Beeps()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return beeps_;
    }

private:
    // The debugger's events come to the thread that started the process.
    static DWORD WINAPI Run(void* parameter)
    {
        BeepWatch* self = static_cast<BeepWatch*>(parameter);
        MonitorCopy& monitor = self->monitor_;
        std::string line = "\"" + monitor.exePath + "\"";
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        BOOL made = CreateProcessA(monitor.exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE,
                                   DEBUG_ONLY_THIS_PROCESS, nullptr, monitor.directory.c_str(), &startup,
                                   &monitor.process);
        SetEvent(self->started_);
        if (!made)
            return 0;
        DebugSetProcessKillOnExit(FALSE);
        while (!self->stop_) {
            DEBUG_EVENT event;
            if (!WaitForDebugEvent(&event, 100))
                continue;
            DWORD status = DBG_CONTINUE;
            if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT)
                CloseHandle(event.u.CreateProcessInfo.hFile);
            else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT)
                CloseHandle(event.u.LoadDll.hFile);
            else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT)
                status = self->OnException(event);
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
            if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT)
                return 0;
        }
        DebugActiveProcessStop(monitor.process.dwProcessId);
        return 0;
    }

    void SetBreakpoint(bool on)
    {
        BYTE byte = on ? 0xCC : original_;
        SIZE_T done = 0;
        WriteProcessMemory(monitor_.process.hProcess, beep_, &byte, 1, &done);
        FlushInstructionCache(monitor_.process.hProcess, beep_, 1);
    }

    DWORD OnException(const DEBUG_EVENT& event)
    {
        const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
        BYTE* at = static_cast<BYTE*>(record.ExceptionAddress);
        if (record.ExceptionCode == EXCEPTION_BREAKPOINT && !armed_) {
            // The loader's first stop: the monitor's imports are bound now.
            SIZE_T done = 0;
            ReadProcessMemory(monitor_.process.hProcess, beep_, &original_, 1, &done);
            EXPECT_EQ(*beep_, original_) << "Beep lies elsewhere in the monitor";
            SetBreakpoint(true);
            armed_ = true;
            return DBG_CONTINUE;
        }
        HANDLE thread = OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, event.dwThreadId);
        CONTEXT context = {};
        context.ContextFlags = CONTEXT_CONTROL;
        GetThreadContext(thread, &context);
        DWORD status = DBG_EXCEPTION_NOT_HANDLED;
        if (record.ExceptionCode == EXCEPTION_BREAKPOINT && (at == beep_ || at == beep_ + 1)) {
            DWORD arguments[2] = {};
            SIZE_T done = 0;
            ReadProcessMemory(monitor_.process.hProcess, reinterpret_cast<void*>(context.Esp + 4), arguments,
                              sizeof arguments, &done);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                beeps_.emplace_back(arguments[0], arguments[1]);
            }
            // Runs Beep's first instruction unbroken, then sets the breakpoint again.
            SetBreakpoint(false);
            context.Eip = reinterpret_cast<DWORD>(beep_);
            context.EFlags |= 0x100;
            SetThreadContext(thread, &context);
            stepping_ = true;
            status = DBG_CONTINUE;
        } else if (record.ExceptionCode == EXCEPTION_SINGLE_STEP && stepping_) {
            SetBreakpoint(true);
            stepping_ = false;
            status = DBG_CONTINUE;
        }
        CloseHandle(thread);
        return status;
    }

    MonitorCopy& monitor_;
    BYTE* beep_ = nullptr;
    BYTE original_ = 0;
    bool armed_ = false;
    bool stepping_ = false;
    volatile bool stop_ = false;
    HANDLE started_ = nullptr;
    HANDLE thread_ = nullptr;
    std::mutex mutex_;
    std::vector<std::pair<DWORD, DWORD>> beeps_;
};

}  // namespace

TEST(Alert, SoundReachesTheDeviceBeforeTheReportReturns)
{
    MonitorCopy monitor;
    SoundSink sink;
    std::string wave = MakeWave(4000);
    WriteFileBytes(monitor.directory + "alert.wav", wave);
    ASSERT_TRUE(monitor.StartWith(MonitorSettings()
                                      .Key("event_notification_type", 1)
                                      .Key("sound_audio_alert", 1)
                                      .Key("Soundfile", monitor.directory + "alert.wav")
                                      .Text()));
    EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2, 30000));
    const std::string samples = Sounding(wave.substr(44));
    EXPECT_TRUE(sink.Sounded() == samples) << "the samples of the file, unchanged";

    // Only the low 16 bits of the alert's wParam count.
    sink.Clear();
    EXPECT_EQ(1, monitor.Send(LVWM_ALERT, 0x00010001, 0, 30000));
    EXPECT_TRUE(sink.Sounded() == samples);
    sink.Clear();
    EXPECT_EQ(1, monitor.Send(LVWM_ALERT, 0x00010000, 0, 30000));
    EXPECT_TRUE(sink.Played().empty());
    // No alert for a warning or a state the user clears.
    monitor.Send(LVWM_ERROR, OPECALL_WARNING, 1, 30000);
    monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 5, 30000);
    EXPECT_TRUE(sink.Played().empty());
    // The print error among the warnings does sound.
    monitor.Send(LVWM_ERROR, OPECALL_WARNING, 3, 30000);
    EXPECT_TRUE(sink.Sounded() == samples);
}

TEST(Alert, SilentUnlessTheSettingIsExactlyOne)
{
    for (const char* setting : {"0", "2", "-1", ""}) {
        SCOPED_TRACE(std::string("sound_audio_alert=") + setting);
        MonitorCopy monitor;
        SoundSink sink;
        WriteFileBytes(monitor.directory + "alert.wav", MakeWave(400));
        monitor.WriteIni(MonitorSettings()
                             .Key("event_notification_type", 1)
                             .Key("sound_audio_alert", setting)
                             .Key("Soundfile", monitor.directory + "alert.wav")
                             .Text());
        BeepWatch watch(monitor);
        ASSERT_NE(nullptr, monitor.WaitForWindow());
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, SERVICE_ERROR, 1, 30000));
        EXPECT_EQ(1, monitor.Send(LVWM_ALERT, 1, 0, 30000));
        EXPECT_TRUE(sink.Played().empty());
        EXPECT_TRUE(watch.Beeps().empty()) << "no beep either";
        monitor.Send(LVWM_APPCLOSE);
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}

TEST(Alert, EmptyOrMissingSoundFileFallsBackWithoutPlaying)
{
    for (const char* file : {"", "missing.wav"}) {
        SCOPED_TRACE(std::string("Soundfile=") + file);
        MonitorCopy monitor;
        SoundSink sink;
        monitor.WriteIni(
            MonitorSettings()
                .Key("event_notification_type", 1)
                .Key("sound_audio_alert", 1)
                .Key("Soundfile", file)
                .Text());
        BeepWatch watch(monitor);
        ASSERT_NE(nullptr, monitor.WaitForWindow());
        EXPECT_TRUE(watch.Beeps().empty());
        bool answered = false;
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_ERROR, 2, 30000, &answered));
        EXPECT_TRUE(answered);
        EXPECT_TRUE(sink.Played().empty());
        const std::vector<std::pair<DWORD, DWORD>> oneBeep = {{8000, 500}};
        EXPECT_EQ(oneBeep, watch.Beeps()) << "8000 Hz for 500 ms, once";
        monitor.Send(LVWM_APPCLOSE);
        EXPECT_EQ(0u, monitor.WaitForExit());
    }
}
