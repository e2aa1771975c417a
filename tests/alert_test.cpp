// The alert: the sound file's samples reach the audio device before the
// status report returns; nothing sounds unless the setting is exactly 1.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "monitor_harness.h"
#include "protocol/lvwm_messages.h"

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

// The audio device is a file (see the test's ALSA configuration).
class SoundSink {
public:
    SoundSink() : outPath_(TestEnvironment("LUMEVIEW_SOUND_OUT")) { DeleteFileA(outPath_.c_str()); }
    std::string Played() const { return ReadFileBytes(outPath_); }
    void Clear() const { DeleteFileA(outPath_.c_str()); }

private:
    std::string outPath_;
};

void StartWith(MonitorCopy& monitor, const std::string& settings)
{
    monitor.WriteIni(settings);
    ASSERT_NE(nullptr, monitor.StartAndWait());
}

}  // namespace

TEST(Alert, SoundReachesTheDeviceBeforeTheReportReturns)
{
    MonitorCopy monitor;
    SoundSink sink;
    std::string wave = MakeWave(4000);
    WriteFileBytes(monitor.directory + "alert.wav", wave);
    StartWith(monitor, "[Status Monitor]\r\nevent_notification_type=1\r\nsound_audio_alert=1\r\nSoundfile=" +
                           monitor.directory + "alert.wav\r\n");
    EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 2, 30000));
    std::string played = sink.Played();
    EXPECT_EQ(wave.size() - 44, played.size());
    EXPECT_TRUE(played == wave.substr(44)) << "the samples of the file, unchanged";

    // Only the low 16 bits of the alert's wParam count.
    sink.Clear();
    EXPECT_EQ(1, monitor.Send(LVWM_ALERT, 0x00010001, 0, 30000));
    EXPECT_TRUE(sink.Played() == wave.substr(44));
    sink.Clear();
    EXPECT_EQ(1, monitor.Send(LVWM_ALERT, 0x00010000, 0, 30000));
    EXPECT_TRUE(sink.Played().empty());
    // No alert for a warning or a state the user clears.
    monitor.Send(LVWM_ERROR, OPECALL_WARNING, 1, 30000);
    monitor.Send(LVWM_ERROR, OPECALL_RECOVER, 5, 30000);
    EXPECT_TRUE(sink.Played().empty());
    // The print error among the warnings does sound.
    monitor.Send(LVWM_ERROR, OPECALL_WARNING, 3, 30000);
    EXPECT_TRUE(sink.Played() == wave.substr(44));
}

TEST(Alert, SilentUnlessTheSettingIsExactlyOne)
{
    for (const char* setting : {"0", "2", "-1", ""}) {
        SCOPED_TRACE(std::string("sound_audio_alert=") + setting);
        MonitorCopy monitor;
        SoundSink sink;
        WriteFileBytes(monitor.directory + "alert.wav", MakeWave(400));
        StartWith(monitor, std::string("[Status Monitor]\r\nevent_notification_type=1\r\nsound_audio_alert=") +
                               setting + "\r\nSoundfile=" + monitor.directory + "alert.wav\r\n");
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, SERVICE_ERROR, 1, 30000));
        EXPECT_EQ(1, monitor.Send(LVWM_ALERT, 1, 0, 30000));
        EXPECT_TRUE(sink.Played().empty());
        monitor.Send(LVWM_APPCLOSE);
        monitor.WaitForExit();
    }
}

// Wine's Beep makes no sound without a console, so only the way there can
// be seen: nothing is played and the report still answers.
TEST(Alert, EmptyOrMissingSoundFileFallsBackWithoutPlaying)
{
    for (const char* file : {"", "missing.wav"}) {
        SCOPED_TRACE(std::string("Soundfile=") + file);
        MonitorCopy monitor;
        SoundSink sink;
        StartWith(monitor, std::string("[Status Monitor]\r\nevent_notification_type=1\r\nsound_audio_alert=1\r\n"
                                       "Soundfile=") + file + "\r\n");
        bool answered = false;
        EXPECT_EQ(1, monitor.Send(LVWM_ERROR, OPECALL_ERROR, 2, 30000, &answered));
        EXPECT_TRUE(answered);
        EXPECT_TRUE(sink.Played().empty());
        monitor.Send(LVWM_APPCLOSE);
        monitor.WaitForExit();
    }
}

