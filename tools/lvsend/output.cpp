#include "output.h"

#include <fcntl.h>
#include <io.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

std::string errorPlace;
UINT consoleCodePage = 0;  // 0: no console

void RestoreConsoleCodePage()
{
    SetConsoleOutputCP(consoleCodePage);
}

}  // namespace

void PrepareOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage != 0 && consoleCodePage != CP_UTF8) {
        SetConsoleOutputCP(CP_UTF8);
        atexit(RestoreConsoleCodePage);
    }
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
    std::string text = errorPlace.empty() ? message : errorPlace + ": " + message;
    // Arguments and scenario words reach the terminal only escaped.
    fprintf(stderr, "lvsend: %s\n", WithoutControls(Utf8FromCp1252(text)).c_str());
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

bool Cp1252FromUtf8(const std::string& text, std::string* out, std::string* bad)
{
    *out = text;
    if (text.empty())
        return true;
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                     static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return true;
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    for (wchar_t ch : wide) {
        char single[4];
        BOOL usedDefault = FALSE;
        if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &ch, 1, single, sizeof single, nullptr,
                                &usedDefault) != 1 || usedDefault) {
            char name[16];
            snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(ch));
            *bad = name;
            return false;
        }
    }
    int size = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, nullptr);
    out->assign(size, '\0');
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(), length, &(*out)[0], size, nullptr, nullptr);
    return true;
}

namespace {

// \n, \r and \t by name, every other control character as \xNN (\u00NN
// for C1); with `quoting`, '"' and '\' escaped too.
std::string Escaped(const std::string& utf8, bool quoting)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(utf8[i]);
        char code[8];
        switch (ch) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '"':
        case '\\':
            if (quoting)
                out += '\\';
            out += static_cast<char>(ch);
            break;
        default:
            if (ch < 0x20 || ch == 0x7F) {
                snprintf(code, sizeof code, "\\x%02X", ch);
                out += code;
            } else if (ch == 0xC2 && i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xE0) == 0x80) {
                // U+0080 to U+009F: the C1 controls, in UTF-8 C2 80 to C2 9F
                snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned char>(utf8[++i]));
                out += code;
            } else {
                out += static_cast<char>(ch);
            }
            break;
        }
    }
    return out;
}

}  // namespace

std::string Quoted(const std::string& utf8)
{
    return "\"" + Escaped(utf8, true) + "\"";
}

std::string WithoutControls(const std::string& utf8)
{
    return Escaped(utf8, false);
}
