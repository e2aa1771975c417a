// The application manifest inside the built lumeview.exe, read as Windows
// Vista and later read it at the start.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resource_reader.h"

namespace {

std::string Manifest()
{
    std::vector<int> numbers = Numbers(RT_MANIFEST);
    if (numbers != std::vector<int>{1})
        return "";
    std::vector<WORD> languages = Languages(RT_MANIFEST, 1);
    if (languages.size() != 1)
        return "";
    Bytes bytes = Resource(RT_MANIFEST, 1, languages[0]);
    return std::string(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

bool Holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(Manifest, NamesVistaToElevenAndAsksForGdiScalingOnly)
{
    std::string manifest = Manifest();
    ASSERT_FALSE(manifest.empty()) << "one manifest, number 1";
    const struct {
        const char* windows;
        const char* id;
    } systems[] = {
        {"Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"}, {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},     {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    for (const auto& system : systems)
        EXPECT_TRUE(Holds(manifest, std::string("<supportedOS Id=\"") + system.id + "\"/>")) << system.windows;
    EXPECT_TRUE(Holds(manifest, ">false</dpiAware>"));
    EXPECT_TRUE(Holds(manifest, ">true</gdiScaling>"));
    // A requested execution level turns off the file virtualisation that the
    // saves beside the monitor need in a protected folder.
    EXPECT_FALSE(Holds(manifest, "requestedExecutionLevel"));
    EXPECT_FALSE(Holds(manifest, "trustInfo"));
    // No visual styles: the panel keeps its classic look.
    EXPECT_FALSE(Holds(manifest, "Microsoft.Windows.Common-Controls"));
    EXPECT_FALSE(Holds(manifest, "<dependency"));
}
