#include "output.h"

#include <fcntl.h>
#include <io.h>
#include <stdarg.h>
#include <stdio.h>

namespace {
std::string errorPlace;
}

void PrepareOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

void PrintLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vfprintf(stdout, format, args);
    va_end(args);
    fputc('\n', stdout);
    fflush(stdout);
}

int Fail(int code, const char* format, ...)
{
    char message[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);
    if (errorPlace.empty())
        fprintf(stderr, "lvsend: %s\n", message);
    else
        fprintf(stderr, "lvsend: %s: %s\n", errorPlace.c_str(), message);
    fflush(stderr);
    return code;
}

void SetErrorPlace(const std::string& place)
{
    errorPlace = place;
}

std::string Utf8FromWide(const wchar_t* text, int length)
{
    if (length <= 0)
        return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], size, nullptr, nullptr);
    return out;
}

std::string Utf8FromCp1252(const std::string& text)
{
    if (text.empty())
        return text;
    int length = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return text;
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return Utf8FromWide(wide.data(), length);
}

std::string Cp1252FromUtf8(const std::string& text)
{
    if (text.empty())
        return text;
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                     static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return text;
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    int size = WideCharToMultiByte(1252, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return text;
    std::string out(size, '\0');
    WideCharToMultiByte(1252, 0, wide.data(), length, &out[0], size, nullptr, nullptr);
    return out;
}

std::string Quoted(const std::string& utf8)
{
    std::string out = "\"";
    for (char ch : utf8) {
        switch (ch) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: out += ch; break;
        }
    }
    out += '"';
    return out;
}
