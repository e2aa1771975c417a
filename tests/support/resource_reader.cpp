#include "resource_reader.h"

#include <gtest/gtest.h>

#include "test_environment.h"

HMODULE Executable()
{
    static HMODULE module = nullptr;
    if (!module) {
        std::string exe = TestEnvironment("LUMEVIEW_EXE");
        module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module)
            ADD_FAILURE() << "cannot load " << exe << " as a data file, error " << GetLastError();
    }
    return module;
}

Bytes Resource(LPCSTR type, int id, WORD language)
{
    Bytes bytes;
    HRSRC found = FindResourceExA(Executable(), type, MAKEINTRESOURCEA(id), language);
    if (!found)
        return bytes;
    HGLOBAL loaded = LoadResource(Executable(), found);
    bytes.data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    bytes.size = bytes.data ? SizeofResource(Executable(), found) : 0;
    return bytes;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list)
{
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

std::vector<WORD> Languages(LPCSTR type, int id)
{
    std::vector<WORD> found;
    EnumResourceLanguagesA(Executable(), type, MAKEINTRESOURCEA(id), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&found));
    return found;
}

BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR list)
{
    // Named resources have no place in this program; they count as -1.
    int number = IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : -1;
    reinterpret_cast<std::vector<int>*>(list)->push_back(number);
    return TRUE;
}

std::vector<int> Numbers(LPCSTR type)
{
    std::vector<int> found;
    EnumResourceNamesA(Executable(), type, AddName, reinterpret_cast<LONG_PTR>(&found));
    return found;
}
