#include "wine_platform.h"

#include <windows.h>

#include <cstring>

namespace {

testing::AssertionResult SetAppDefault(const std::string& keyName, const char* value, const char* data)
{
    HKEY key;
    LONG created = RegCreateKeyA(HKEY_CURRENT_USER, keyName.c_str(), &key);
    if (created != ERROR_SUCCESS)
        return testing::AssertionFailure() << "HKCU\\" << keyName << " cannot be made, error " << created;
    LONG set = RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                              static_cast<DWORD>(strlen(data) + 1));
    RegCloseKey(key);
    if (set != ERROR_SUCCESS)
        return testing::AssertionFailure() << value << " of HKCU\\" << keyName << " cannot be set, error " << set;
    return testing::AssertionSuccess();
}

struct KnownPlatform {
    Platform platform;
    const char* name;
    const char* wineVersion;  // Wine's name of the version
};

const KnownPlatform kPlatforms[] = {
    {Platform::Win32s, "Win32s", "win31"},          {Platform::Windows95, "Windows 95", "win95"},
    {Platform::Windows98, "Windows 98", "win98"},   {Platform::NT, "NT", "winxp"},
    {Platform::Windows7, "Windows 7", "win7"},      {Platform::Windows10, "Windows 10", "win10"},
};

const KnownPlatform* Known(Platform platform)
{
    for (const KnownPlatform& known : kPlatforms) {
        if (known.platform == platform)
            return &known;
    }
    return nullptr;
}

}  // namespace

const char* PlatformName(Platform platform)
{
    const KnownPlatform* known = Known(platform);
    return known ? known->name : "?";
}

testing::AssertionResult SetWinePlatform(const std::string& exeName, Platform platform)
{
    const KnownPlatform* known = Known(platform);
    if (!known)
        return testing::AssertionFailure() << "no Wine version for platform " << static_cast<int>(platform);
    return SetAppDefault("Software\\Wine\\AppDefaults\\" + exeName, "Version", known->wineVersion);
}

testing::AssertionResult SetWineUnmanaged(const std::string& exeName)
{
    return SetAppDefault("Software\\Wine\\AppDefaults\\" + exeName + "\\X11 Driver", "Managed", "N");
}

testing::AssertionResult SetWineDllOverride(const std::string& exeName, const char* library, const char* loadOrder)
{
    return SetAppDefault("Software\\Wine\\AppDefaults\\" + exeName + "\\DllOverrides", library, loadOrder);
}
