#include "text_conversion.h"

#include <windows.h>

#include <vector>

std::wstring Utf16FromCp1252(const std::string& text)
{
    if (text.empty())
        return L"";
    std::vector<wchar_t> wide(text.size() + 1);
    int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                     static_cast<int>(wide.size()));
    return std::wstring(wide.data(), length);
}

std::string Utf8FromUtf16(const std::wstring& text)
{
    if (text.empty())
        return "";
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
    return narrow;
}
