// What Wine is told about one executable name: the Windows version it
// reports to it, and whether its windows are managed.
#ifndef LUMEVIEW_TEST_WINE_PLATFORM_H
#define LUMEVIEW_TEST_WINE_PLATFORM_H

#include <gtest/gtest.h>

#include <string>

// The Windows version Wine reports to one executable name.
enum class Platform { Win32s, Windows95, NT };

// The platform's name for a test's trace.
const char* PlatformName(Platform platform);

// Makes Wine report `platform` to every program named `exeName`; for
// ASSERT_TRUE, so that a program on the wrong platform never runs.
testing::AssertionResult SetWinePlatform(const std::string& exeName, Platform platform);

// Without a window manager on the test's X server, Wine would wait two
// seconds for one each time a window of a managed program is hidden or
// destroyed.
testing::AssertionResult SetWineUnmanaged(const std::string& exeName);

#endif
