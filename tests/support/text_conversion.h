// The monitor's code page 1252 texts beside the wide texts WM_GETTEXT
// gives and the UTF-8 a test prints.
#ifndef LUMEVIEW_TEST_TEXT_CONVERSION_H
#define LUMEVIEW_TEST_TEXT_CONVERSION_H

#include <string>

// The bytes of a code page 1252 text as UTF-16, to compare with what
// WM_GETTEXT returns as wide text.
std::wstring Utf16FromCp1252(const std::string& text);
std::string Utf8FromUtf16(const std::wstring& text);

#endif
