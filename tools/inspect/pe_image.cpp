#include "pe_image.h"

#include <ctype.h>

#include <vector>

namespace {

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return text;
}

bool Inside(const std::string& image, DWORD offset, DWORD size)
{
    return offset <= image.size() && size <= image.size() - offset;
}

}  // namespace

std::string ReadProgramImage(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    // Programs are a few megabytes at most; anything larger is not ours.
    const DWORD kLargestImage = 64u << 20;
    DWORD size = GetFileSize(file, nullptr);
    std::string bytes;
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE && size <= kLargestImage) {
        bytes.resize(size);
        if (!ReadFile(file, &bytes[0], size, &read, nullptr) || read != size)
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

const IMAGE_NT_HEADERS32* PeHeaders(const std::string& image)
{
    if (!Inside(image, 0, sizeof(IMAGE_DOS_HEADER)))
        return nullptr;
    DWORD peOffset = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data())->e_lfanew;
    if (!Inside(image, peOffset, sizeof(IMAGE_NT_HEADERS32)))
        return nullptr;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + peOffset);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return nullptr;
    return nt;
}

std::set<PeImport> ReadImports(const std::string& image)
{
    std::set<PeImport> imports;
    auto at = [&](DWORD offset, DWORD size) { return Inside(image, offset, size); };
    const IMAGE_NT_HEADERS32* nt = PeHeaders(image);
    if (!nt)
        return imports;
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    WORD sectionCount = nt->FileHeader.NumberOfSections;
    if (!at(static_cast<DWORD>(reinterpret_cast<const char*>(sections) - image.data()),
            sectionCount * sizeof(IMAGE_SECTION_HEADER)))
        return imports;
    // File offset of a relative virtual address, or 0 outside every section.
    auto file = [&](DWORD rva) -> DWORD {
        for (WORD i = 0; i < sectionCount; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva - s.VirtualAddress < s.SizeOfRawData)
                return s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return 0;
    };
    auto text = [&](DWORD rva) {
        DWORD offset = file(rva);
        return offset && offset < image.size() ? std::string(image.c_str() + offset) : std::string();
    };
    DWORD directory = file(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (DWORD d = directory; d && at(d, sizeof(IMAGE_IMPORT_DESCRIPTOR)); d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + d);
        if (descriptor->Name == 0)
            break;
        std::string dll = Upper(text(descriptor->Name));
        DWORD thunks = file(descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk);
        for (DWORD t = thunks; t && at(t, sizeof(DWORD)); t += sizeof(DWORD)) {
            DWORD entry = *reinterpret_cast<const DWORD*>(image.data() + t);
            if (entry == 0)
                break;
            if (entry & IMAGE_ORDINAL_FLAG32)
                imports.insert({dll, "#" + std::to_string(IMAGE_ORDINAL32(entry))});
            else
                imports.insert({dll, text(entry + sizeof(WORD))});  // after the hint
        }
    }
    return imports;
}
