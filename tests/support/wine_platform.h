// What Wine is told about one executable name: the Windows version it
// reports to it, whether its windows are managed, and where its libraries
// come from.
#ifndef LUMEVIEW_TEST_WINE_PLATFORM_H
#define LUMEVIEW_TEST_WINE_PLATFORM_H

#include <gtest/gtest.h>

#include <string>

// The Windows version Wine reports to one executable name: NT is Windows
// XP, the NT family before 6.0.
enum class Platform { Win32s, Windows95, Windows98, NT, Windows7, Windows10 };

// The platform's name for a test's trace.
const char* PlatformName(Platform platform);

// Makes Wine report `platform` to every program named `exeName`; for
// ASSERT_TRUE, so that a program on the wrong platform never runs.
testing::AssertionResult SetWinePlatform(const std::string& exeName, Platform platform);

// Without a window manager on the test's X server, Wine would wait two
// seconds for one each time a window of a managed program is hidden or
// destroyed.
testing::AssertionResult SetWineUnmanaged(const std::string& exeName);

// How Wine loads `library` (e.g. "hhctrl.ocx") for every program named
// `exeName`: "native", "builtin", or "" for not at all.
testing::AssertionResult SetWineDllOverride(const std::string& exeName, const char* library, const char* loadOrder);

#endif
