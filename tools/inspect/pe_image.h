// What a built 32-bit program's file says of itself: its headers and the
// calls it imports. Shared by the benchmark and the tests.
#ifndef LUMEVIEW_INSPECT_PE_IMAGE_H
#define LUMEVIEW_INSPECT_PE_IMAGE_H

#include <windows.h>

#include <set>
#include <string>

struct PeImport {
    std::string dll;  // upper-cased
    std::string function;  // "#n" for an import by ordinal
    bool operator<(const PeImport& other) const
    {
        return dll != other.dll ? dll < other.dll : function < other.function;
    }
};

// The whole file, or an empty text when it cannot be read.
std::string ReadProgramImage(const std::string& path);

// The headers of a 32-bit PE file, or null when it is no such program.
const IMAGE_NT_HEADERS32* PeHeaders(const std::string& image);

// The imports of a 32-bit PE file, from its import directory; empty when
// the file is no such program.
std::set<PeImport> ReadImports(const std::string& image);

#endif
