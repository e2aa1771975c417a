// Reads the resources inside the built lumeview.exe the way Windows reads
// them: the executable is loaded as a data file and every resource is
// found by type, number and language.
#ifndef LUMEVIEW_TEST_RESOURCE_READER_H
#define LUMEVIEW_TEST_RESOURCE_READER_H

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// The languages the program's resources are stored in.
const WORD kFrenchCanada = 0x0C0C;
const WORD kEnglishUS = 0x0409;
const WORD kJapanese = 0x0411;

// lumeview.exe loaded as a data file; a failure when it cannot be.
HMODULE Executable();

struct Bytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// The resource of that type, number and language; empty when missing.
Bytes Resource(LPCSTR type, int id, WORD language);
// The languages a resource exists in.
std::vector<WORD> Languages(LPCSTR type, int id);
// The numbers of every resource of a type; a named one counts as -1.
std::vector<int> Numbers(LPCSTR type);

// Little-endian reads that never step past the end of the resource.
class Reader {
public:
    explicit Reader(Bytes bytes) : bytes_(bytes) {}

    WORD Word()
    {
        WORD value = 0;
        Copy(&value, sizeof value);
        return value;
    }
    DWORD DWord()
    {
        DWORD value = 0;
        Copy(&value, sizeof value);
        return value;
    }
    short Short() { return static_cast<short>(Word()); }
    // A name-or-ordinal field: "" when empty, "#n" for an ordinal.
    std::string NameOrOrdinal()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return "#" + std::to_string(Word());
        std::string text;
        for (WORD c = first; c != 0 && ok_; c = Word())
            text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }
    void Skip(DWORD count)
    {
        if (count > bytes_.size - pos_)
            ok_ = false;
        else
            pos_ += count;
    }
    void AlignDWord() { Skip((4 - pos_ % 4) % 4); }
    bool Ok() const { return ok_ && bytes_.data != nullptr; }
    DWORD Position() const { return pos_; }

private:
    void Copy(void* out, DWORD count)
    {
        if (!bytes_.data || count > bytes_.size - pos_) {
            ok_ = false;
            return;
        }
        std::memcpy(out, bytes_.data + pos_, count);
        pos_ += count;
    }

    Bytes bytes_;
    DWORD pos_ = 0;
    bool ok_ = true;
};

#endif
