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

}  // namespace

const char* PlatformName(Platform platform)
{
    return platform == Platform::Win32s ? "Win32s" : platform == Platform::Windows95 ? "Windows 95" : "NT";
}

testing::AssertionResult SetWinePlatform(const std::string& exeName, Platform platform)
{
    const char* version = platform == Platform::Win32s ? "win31" : platform == Platform::Windows95 ? "win95" : "winxp";
    return SetAppDefault("Software\\Wine\\AppDefaults\\" + exeName, "Version", version);
}

testing::AssertionResult SetWineUnmanaged(const std::string& exeName)
{
    return SetAppDefault("Software\\Wine\\AppDefaults\\" + exeName + "\\X11 Driver", "Managed", "N");
}
