// The accelerator table and the version block of the built lumeview.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_reader.h"
#include "test_environment.h"

namespace {

// ---- Accelerators and version --------------------------------------------------

TEST(ResourcesAccelerators, F1GivesContextHelpCommand)
{
    EXPECT_EQ(std::vector<WORD>{kJapanese}, Languages(RT_ACCELERATOR, 130));
    Bytes table = Resource(RT_ACCELERATOR, 130, kJapanese);
    ASSERT_EQ(8u, table.size) << "one entry";
    Reader r(table);
    EXPECT_EQ(0x83, r.Word()) << "FVIRTKEY | FNOINVERT | last entry";
    EXPECT_EQ(VK_F1, r.Word());
    EXPECT_EQ(40001, r.Word());
    EXPECT_EQ(0, r.Word());
}

std::string VersionString(const std::vector<char>& block, const char* key)
{
    std::string path = std::string("\\StringFileInfo\\040004b0\\") + key;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "<missing>";
    return std::string(value, strnlen(value, length));
}

std::vector<char> VersionBlock()
{
    std::string exe = TestEnvironment("LUMEVIEW_EXE");
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, block.data()))
        block.clear();
    return block;
}

TEST(ResourcesVersion, FixedPartNamesVersionOneZeroZeroOneForNT)
{
    EXPECT_EQ(std::vector<WORD>{kJapanese}, Languages(RT_VERSION, 1));
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, fixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed->dwFileFlagsMask);
    EXPECT_EQ(0u, fixed->dwFileFlags);
    EXPECT_EQ(static_cast<DWORD>(VOS_NT_WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(0x40004u, fixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileSubtype);
    EXPECT_EQ(0u, fixed->dwFileDateMS);
    EXPECT_EQ(0u, fixed->dwFileDateLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0400, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);
}

TEST(ResourcesVersion, StringTableNamesTheProgram)
{
    std::vector<char> block = VersionBlock();
    ASSERT_FALSE(block.empty());
    const struct {
        const char* key;
        const char* value;
    } strings[] = {
        {"FileDescription", "lumeview"},
        {"FileVersion", "1, 0, 0, 1"},
        {"InternalName", "lumeview"},
        {"OriginalFilename", "lumeview.exe"},
        {"ProductVersion", "1, 0, 0, 1"},
    };
    for (const auto& s : strings) {
        SCOPED_TRACE(s.key);
        EXPECT_EQ(s.value, VersionString(block, s.key));
    }
    std::string company = VersionString(block, "CompanyName");
    EXPECT_NE("<missing>", company);
    EXPECT_FALSE(company.empty());
    EXPECT_EQ(company + " lumeview", VersionString(block, "ProductName"));
    std::string copyright = VersionString(block, "LegalCopyright");
    EXPECT_NE("<missing>", copyright);
    EXPECT_FALSE(copyright.empty());
}

}  // namespace
