// The recorder program stands in for the programs the monitor starts: it
// appends its command line, one per line, to a log beside itself. The HTML
// Help recorder stands in for hhctrl.ocx and logs the same way.
#ifndef LUMEVIEW_TEST_RECORDER_H
#define LUMEVIEW_TEST_RECORDER_H

#include <string>

// The log that a recorder copied to `exePath` writes.
std::string RecorderLogPath(const std::string& exePath);

// The built recorders, in the build's program folder.
const char kRecorderProgram[] = "recorder.exe";
const char kHtmlHelpRecorder[] = "hhctrl_recorder.ocx";

// Copies a built recorder to `exePath`; false when it could not.
bool InstallRecorder(const std::string& exePath, const char* built = kRecorderProgram);

// Waits until the log has at least `lines` lines; returns its text.
std::string WaitForRecorderLog(const std::string& exePath, size_t lines = 1, unsigned timeoutMs = 10000);

// The number of lines of a log, and its last line.
size_t LineCount(const std::string& text);
std::string LastLine(const std::string& text);

#endif
