#include "arguments.h"

#include <errno.h>
#include <stdlib.h>

bool ParseNumber(const std::string& word, DWORD* value)
{
    const char* text = word.c_str();
    bool negative = false;
    if (*text == '-') {
        negative = true;
        ++text;
    }
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    // strtoull would accept blanks and a sign of its own here.
    if (*text == '\0' || *text == ' ' || *text == '\t' || *text == '+' || *text == '-')
        return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long magnitude = strtoull(text, &end, base);
    if (errno != 0 || *end != '\0')
        return false;
    if (negative) {
        if (magnitude > 0x80000000ull)
            return false;
        *value = static_cast<DWORD>(0u - static_cast<DWORD>(magnitude));
    } else {
        if (magnitude > 0xFFFFFFFFull)
            return false;
        *value = static_cast<DWORD>(magnitude);
    }
    return true;
}

bool SplitLine(const std::string& line, Words* words, std::string* error)
{
    words->clear();
    size_t i = 0;
    while (i < line.size()) {
        char ch = line[i];
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') {
            ++i;
            continue;
        }
        if (ch == '#')
            break;
        std::string word;
        bool quoted = false;
        while (i < line.size()) {
            ch = line[i];
            if (ch == '"') {
                quoted = !quoted;
            } else if (!quoted && (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n')) {
                break;
            } else {
                word += ch;
            }
            ++i;
        }
        if (quoted) {
            *error = "unclosed double quote";
            return false;
        }
        words->push_back(word);
    }
    return true;
}
