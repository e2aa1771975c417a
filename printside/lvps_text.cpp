#include "lvps_text.h"

namespace lvps {

bool FitsIn(const char* text, DWORD maxLength)
{
    for (DWORD i = 0; i <= maxLength; ++i) {
        if (text[i] == '\0')
            return true;
    }
    return false;
}

bool Append(char* target, DWORD size, const char* source)
{
    DWORD used = static_cast<DWORD>(lstrlenA(target));
    if (used >= size || !FitsIn(source, size - used - 1))
        return false;
    lstrcpynA(target + used, source, static_cast<int>(size - used));
    return true;
}

HINSTANCE OwnModule()
{
    MEMORY_BASIC_INFORMATION memory;
    if (VirtualQuery(reinterpret_cast<LPCVOID>(&OwnModule), &memory, sizeof memory) == 0)
        return GetModuleHandleA(nullptr);
    return static_cast<HINSTANCE>(memory.AllocationBase);
}

}  // namespace lvps
