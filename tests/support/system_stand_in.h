// A recorder in place of one of the system's own programs or libraries,
// where the monitor runs or loads it from: Wine runs a real program found
// there instead of its own. Or nothing in its place, for a system that
// lacks it. The system's file is put back when the stand-in goes.
#ifndef LUMEVIEW_TEST_SYSTEM_STAND_IN_H
#define LUMEVIEW_TEST_SYSTEM_STAND_IN_H

#include <gtest/gtest.h>

#include <string>

#include "recorder.h"

enum class SystemFolder { Windows, System };

// The folder's path without a trailing '\'.
std::string SystemFolderPath(SystemFolder folder);

class SystemProgramStandIn {
public:
    // One that could not be put in place, or put back, is a failure at the
    // caller's line. recorder: a built recorder (recorder.h); nullptr leaves
    // the place empty.
    SystemProgramStandIn(SystemFolder folder, const std::string& name, const char* recorder = kRecorderProgram,
                         const char* file = __builtin_FILE(), int line = __builtin_LINE());
    ~SystemProgramStandIn();
    SystemProgramStandIn(const SystemProgramStandIn&) = delete;
    SystemProgramStandIn& operator=(const SystemProgramStandIn&) = delete;

    // For ASSERT_TRUE at the caller's line: a test without its stand-in stops.
    [[nodiscard]] testing::AssertionResult installed() const;
    const std::string path;  // where the recorder now is, or the empty place

private:
    std::string saved_;
    std::string failure_;  // why it is not in place; empty when it is
    const char* file_;
    int line_;
};

#endif
