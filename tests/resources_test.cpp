// The resources inside the built lumeview.exe, read the way Windows reads
// them: the executable is loaded as a data file and every resource is
// found by type, number and language.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "monitor_harness.h"

namespace {

// ---- Reading the executable ------------------------------------------------

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

struct Bytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

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

// ---- Dialog templates ------------------------------------------------------

struct Control {
    int id;
    const char* cls;  // "#128" button, "#130" static
    DWORD style;
    short x, y, cx, cy;
    const char* caption;
};

struct ParsedControl {
    int id = 0;
    std::string cls;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string caption;
    WORD extra = 0;
};

struct ParsedDialog {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, cls, caption;
    WORD points = 0;
    std::string face;
    std::vector<ParsedControl> controls;
    bool complete = false;   // every byte read within the resource
    DWORD unreadBytes = 0;

    const ParsedControl* Find(int id) const
    {
        for (const ParsedControl& c : controls)
            if (c.id == id)
                return &c;
        return nullptr;
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const ParsedControl& c : controls)
            ids.push_back(c.id);
        return ids;
    }
};

ParsedDialog ReadDialog(Bytes bytes)
{
    ParsedDialog d;
    Reader r(bytes);
    WORD version = r.Word();
    WORD signature = r.Word();
    if (version == 1 && signature == 0xFFFF) {
        d.extended = true;  // DIALOGEX: not what the program is built with
        return d;
    }
    Reader t(bytes);
    d.style = t.DWord();
    d.exStyle = t.DWord();
    WORD count = t.Word();
    d.x = t.Short();
    d.y = t.Short();
    d.cx = t.Short();
    d.cy = t.Short();
    d.menu = t.NameOrOrdinal();
    d.cls = t.NameOrOrdinal();
    d.caption = t.NameOrOrdinal();
    if (d.style & DS_SETFONT) {
        d.points = t.Word();
        d.face = t.NameOrOrdinal();
    }
    for (WORD i = 0; i < count && t.Ok(); ++i) {
        t.AlignDWord();
        ParsedControl c;
        c.style = t.DWord();
        c.exStyle = t.DWord();
        c.x = t.Short();
        c.y = t.Short();
        c.cx = t.Short();
        c.cy = t.Short();
        c.id = t.Short();
        c.cls = t.NameOrOrdinal();
        c.caption = t.NameOrOrdinal();
        c.extra = t.Word();
        t.Skip(c.extra);
        d.controls.push_back(c);
    }
    d.complete = t.Ok();
    d.unreadBytes = bytes.size - t.Position();
    return d;
}

const WORD kFrenchCanada = 0x0C0C;
const WORD kEnglishUS = 0x0409;
const WORD kJapanese = 0x0411;

// The predefined classes, stored as ordinals.
const char* const kButton = "#128";
const char* const kStatic = "#130";

// Template 134 exactly as the panel is created from it.
const Control kPanel[] = {
    {2, kButton, 0x50010001, 114, 138, 73, 14, "button:Close"},
    {9, kButton, 0x50010000, 192, 138, 71, 14, "button:Help"},
    {1000, kButton, 0x48010000, 120, 76, 103, 14, "button:pq"},
    {1004, kButton, 0x48010000, 120, 76, 103, 14, "Button:prop..."},
    {1005, kButton, 0x50010000, 158, 115, 103, 14, "Button:opts"},
    {1001, kButton, 0x50010000, 170, 91, 91, 14, "button:Cancel Job"},
    {1003, kStatic, 0x50000003, 7, 7, 18, 20, "#106"},
    {1015, kButton, 0x48000007, 7, 43, 256, 88, ""},
    {1006, kStatic, 0x50821000, 39, 5, 224, 41, "emstatus"},
    {1002, kStatic, 0x50000007, 18, 49, 81, 59, ""},
    {1016, kStatic, 0x50020000, 123, 49, 128, 8, "MSG Now Printing:"},
    {1010, kStatic, 0x5082100C, 123, 57, 139, 13, "Static"},
    {1017, kStatic, 0x48020000, 124, 72, 128, 8, "MSG pages"},
    {1011, kStatic, 0x48821000, 124, 72, 128, 13, "Static"},
    {1018, kStatic, 0x48020000, 124, 72, 123, 8, "MSG percent complete"},
    {1012, kStatic, 0x48801007, 124, 72, 128, 13, ""},
    {1014, kStatic, 0x50000007, 10, 108, 104, 20, ""},
    {1019, kStatic, 0x48020000, 13, 43, 52, 11, "Static"},
    {-1, kButton, 0x50000007, 7, 129, 257, 6, ""},
};

// Template 133, the options dialog.
const Control kOptions[] = {
    {1, kButton, 0x50030001, 98, 86, 52, 14, "OK"},
    {2, kButton, 0x50010000, 156, 86, 52, 14, "cancel"},
    {1019, kButton, 0x50030009, 15, 19, 181, 10, "Radio: diaplay status..."},
    {1020, kButton, 0x50010009, 15, 30, 182, 10, "Radio: Always diaplay"},
    {1021, kButton, 0x50010009, 15, 41, 183, 10, "Radio: status off..."},
    {1022, kButton, 0x50030003, 15, 55, 181, 10, "Check: sound audio..."},
    {1023, kButton, 0x50000007, 5, 5, 203, 72, "STATIC: Event notification"},
};

void ExpectHeader(const ParsedDialog& d, DWORD style, short cx, short cy, WORD points,
                  const char* face, const char* caption)
{
    EXPECT_TRUE(d.complete);
    EXPECT_FALSE(d.extended);
    EXPECT_EQ(style, d.style);
    EXPECT_EQ(0u, d.exStyle);
    EXPECT_EQ(0, d.x);
    EXPECT_EQ(0, d.y);
    EXPECT_EQ(cx, d.cx);
    EXPECT_EQ(cy, d.cy);
    EXPECT_EQ("", d.menu);
    EXPECT_EQ("", d.cls);
    EXPECT_EQ(caption, d.caption);
    EXPECT_EQ(points, d.points);
    EXPECT_EQ(face, d.face);
}

template <size_t N>
void ExpectControlsExactly(const ParsedDialog& d, const Control (&expected)[N])
{
    ASSERT_EQ(N, d.controls.size());
    for (size_t i = 0; i < N; ++i) {
        const Control& e = expected[i];
        const ParsedControl& c = d.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(e.id) + ")");
        EXPECT_EQ(e.id, c.id);
        EXPECT_EQ(e.cls, c.cls);
        EXPECT_EQ(e.style, c.style) << std::hex << "0x" << c.style;
        EXPECT_EQ(0u, c.exStyle);
        EXPECT_EQ(e.x, c.x);
        EXPECT_EQ(e.y, c.y);
        EXPECT_EQ(e.cx, c.cx);
        EXPECT_EQ(e.cy, c.cy);
        EXPECT_EQ(e.caption, c.caption);
        EXPECT_EQ(0, c.extra);
    }
}

ParsedDialog Dialog(int id, WORD language) { return ReadDialog(Resource(RT_DIALOG, id, language)); }

TEST(ResourcesPanel134, HeaderIsClassicChildWithArial8)
{
    EXPECT_EQ(std::vector<WORD>{kFrenchCanada}, Languages(RT_DIALOG, 134));
    ParsedDialog d = Dialog(134, kFrenchCanada);
    ExpectHeader(d, WS_CHILD | WS_VISIBLE | DS_SETFONT, 270, 160, 8, "Arial", "");
    EXPECT_EQ(0x50000040u, d.style);
    EXPECT_EQ(0u, d.unreadBytes);
}

TEST(ResourcesPanel134, NineteenControlsInTabOrderWithStylesGeometryAndCaptions)
{
    ExpectControlsExactly(Dialog(134, kFrenchCanada), kPanel);
}

TEST(ResourcesPanel134, HiddenRowsAndButtonsAreNotVisibleAndDisabled)
{
    ParsedDialog d = Dialog(134, kFrenchCanada);
    for (int id : {1000, 1004, 1015, 1017, 1011, 1018, 1012, 1019}) {
        SCOPED_TRACE(id);
        const ParsedControl* c = d.Find(id);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(0u, c->style & WS_VISIBLE);
        EXPECT_EQ(static_cast<DWORD>(WS_DISABLED), c->style & WS_DISABLED);
    }
    const ParsedControl* icon = d.Find(1003);
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ("#106", icon->caption) << "the state icon names the transparent icon by number";
    EXPECT_EQ(static_cast<DWORD>(SS_ICON), icon->style & SS_TYPEMASK);
}

TEST(ResourcesOptions133, HeaderIsClassicModalPopupWithCaption)
{
    EXPECT_EQ(std::vector<WORD>{kFrenchCanada}, Languages(RT_DIALOG, 133));
    ParsedDialog d = Dialog(133, kFrenchCanada);
    ExpectHeader(d, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 215, 107, 8,
                 "Arial", "DLG: options");
    EXPECT_EQ(0x80C800C0u, d.style);
    EXPECT_EQ(0u, d.unreadBytes);
}

TEST(ResourcesOptions133, SevenControlsWithRadioGroupAndCheckBox)
{
    ExpectControlsExactly(Dialog(133, kFrenchCanada), kOptions);
}

// ---- The templates of the other languages ----------------------------------

struct LanguagePair {
    int panel;
    int options;
    WORD language;
    short panelWidth;
    short panelHeight;
    WORD points;
    const char* face;
};

const LanguagePair kOtherLanguages[] = {
    {101, 112, 0x0409, 237, 141, 9, "Arial"},
    {113, 114, 0x040C, 270, 215, 8, "Arial"},
    {115, 132, 0x0416, 270, 165, 8, "Arial"},
    {116, 118, 0x080A, 270, 154, 8, "Arial"},
    {135, 136, 0x0407, 270, 162, 8, "Arial"},
    {137, 138, 0x0410, 270, 168, 8, "Arial"},
    {139, 140, 0x0413, 270, 163, 8, "Arial"},
    {141, 142, 0x040C, 270, 164, 8, "Arial"},
    {143, 144, 0x0419, 270, 161, 8, "Arial Cyr"},
    {145, 146, 0x0405, 270, 169, 8, "Arial CE"},
    {148, 147, 0x040E, 270, 186, 8, "Arial CE"},
    {149, 150, 0x0415, 270, 169, 8, "Arial CE"},
    {151, 152, 0x0406, 270, 164, 8, "Arial"},
    {153, 154, 0x040B, 270, 160, 8, "Arial"},
    {155, 156, 0x0414, 270, 165, 8, "Arial"},
    {157, 158, 0x041D, 270, 169, 8, "Arial"},
};

std::vector<int> PanelOrder(int panel)
{
    std::vector<int> ids;
    for (const Control& c : kPanel)
        if (c.id != -1)
            ids.push_back(c.id);
    // The English panel lists the separator right after the status text.
    auto at = panel == 101 ? ids.begin() + 9 : ids.end();
    ids.insert(at, -1);
    return ids;
}

// The style of each panel control in one language: the style of 134, with
// the few changes that tell the languages apart.
DWORD ExpectedPanelStyle(int panel, const Control& c)
{
    if (panel == 113)
        return (c.style | WS_VISIBLE) & ~static_cast<DWORD>(WS_DISABLED);
    if (panel == 145 && (c.id == 1000 || c.id == 1018 || c.id == 1019))
        return c.style | WS_VISIBLE;
    if (panel == 149 && c.id == 1015)
        return c.style | WS_VISIBLE;
    return c.style;
}

POINT StateIconAt(int panel)
{
    switch (panel) {
    case 137:
        return {6, 7};
    case 143:
    case 145:
    case 148:
    case 149:
        return {6, 4};
    default:
        return {7, 7};
    }
}

void ExpectInside(const ParsedDialog& d)
{
    for (const ParsedControl& c : d.controls) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        EXPECT_GE(c.x, 0);
        EXPECT_GE(c.y, 0);
        EXPECT_GT(c.cx, 0);
        EXPECT_GT(c.cy, 0);
        EXPECT_LE(c.x + c.cx, d.cx);
        EXPECT_LE(c.y + c.cy, d.cy);
    }
}

TEST(ResourcesOtherLanguages, PanelsHaveTheirLanguageSizeFontAndTheSameControls)
{
    for (const LanguagePair& p : kOtherLanguages) {
        SCOPED_TRACE("panel template " + std::to_string(p.panel));
        EXPECT_EQ(std::vector<WORD>{p.language}, Languages(RT_DIALOG, p.panel));
        ParsedDialog d = Dialog(p.panel, p.language);
        ExpectHeader(d, 0x50000040, p.panelWidth, p.panelHeight, p.points, p.face, "");
        EXPECT_EQ(PanelOrder(p.panel), d.Ids());
        for (const Control& e : kPanel) {
            SCOPED_TRACE("control " + std::to_string(e.id));
            const ParsedControl* c = d.Find(e.id);
            ASSERT_NE(nullptr, c);
            EXPECT_EQ(e.cls, c->cls);
            EXPECT_EQ(e.caption, c->caption);
            EXPECT_EQ(ExpectedPanelStyle(p.panel, e), c->style) << std::hex << "0x" << c->style;
            EXPECT_EQ(0u, c->exStyle);
        }
        ExpectInside(d);
    }
}

TEST(ResourcesOtherLanguages, StateIconSitsWhereEachLanguagePutsIt)
{
    for (const LanguagePair& p : kOtherLanguages) {
        SCOPED_TRACE("panel template " + std::to_string(p.panel));
        const ParsedControl* icon = Dialog(p.panel, p.language).Find(1003);
        ASSERT_NE(nullptr, icon);
        EXPECT_EQ(StateIconAt(p.panel).x, icon->x);
        EXPECT_EQ(StateIconAt(p.panel).y, icon->y);
        EXPECT_EQ("#106", icon->caption);
    }
}

TEST(ResourcesOtherLanguages, FullFrenchLayoutShowsEveryControlStacked)
{
    ParsedDialog d = Dialog(113, 0x040C);
    struct Place {
        int id;
        short x, y, cx, cy;
    };
    const Place stacked[] = {
        {1000, 13, 117, 103, 14},
        {1004, 13, 138, 103, 14},
        {1005, 13, 159, 103, 14},
        {1015, 7, 35, 256, 146},
    };
    for (const Place& e : stacked) {
        SCOPED_TRACE(e.id);
        const ParsedControl* c = d.Find(e.id);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(e.x, c->x);
        EXPECT_EQ(e.y, c->y);
        EXPECT_EQ(e.cx, c->cx);
        EXPECT_EQ(e.cy, c->cy);
    }
    const struct {
        int id;
        short y;
    } rows[] = {{1017, 77}, {1011, 86}, {1018, 105}, {1012, 113}, {2, 194}, {9, 194}};
    for (const auto& e : rows) {
        SCOPED_TRACE(e.id);
        const ParsedControl* c = d.Find(e.id);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(e.y, c->y);
    }
    for (const ParsedControl& c : d.controls) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(static_cast<DWORD>(WS_VISIBLE), c.style & WS_VISIBLE);
        EXPECT_EQ(0u, c.style & WS_DISABLED);
    }
}

TEST(ResourcesOtherLanguages, OptionsHaveTheGeometryOf133ExceptEnglish)
{
    for (const LanguagePair& p : kOtherLanguages) {
        SCOPED_TRACE("options template " + std::to_string(p.options));
        EXPECT_EQ(std::vector<WORD>{p.language}, Languages(RT_DIALOG, p.options));
        ParsedDialog d = Dialog(p.options, p.language);
        bool english = p.options == 112;
        ExpectHeader(d, 0x80C800C0, english ? 189 : 215, english ? 99 : 107, p.points, p.face,
                     "DLG: options");
        if (!english) {
            ExpectControlsExactly(d, kOptions);
            continue;
        }
        ASSERT_EQ(7u, d.controls.size());
        for (size_t i = 0; i < 7; ++i) {
            SCOPED_TRACE(kOptions[i].id);
            EXPECT_EQ(kOptions[i].id, d.controls[i].id);
            EXPECT_EQ(kOptions[i].cls, d.controls[i].cls);
            EXPECT_EQ(kOptions[i].style, d.controls[i].style);
            EXPECT_EQ(kOptions[i].caption, d.controls[i].caption);
        }
        ExpectInside(d);
    }
}

// ---- What the executable holds, and in which language ------------------------

TEST(ResourcesInventory, EveryResourceNumberExistsInExactlyOneLanguage)
{
    struct Kind {
        LPCSTR type;
        const char* name;
        std::vector<int> numbers;
    };
    std::vector<int> dialogs;
    for (const LanguagePair& p : kOtherLanguages) {
        dialogs.push_back(p.panel);
        dialogs.push_back(p.options);
    }
    dialogs.push_back(133);
    dialogs.push_back(134);
    const Kind kinds[] = {
        {RT_DIALOG, "dialog", dialogs},
        {RT_BITMAP, "bitmap", {103, 111, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 133, 159, 160, 161}},
        {RT_GROUP_ICON, "icon group", {102, 104, 105, 106, 107, 108}},
        {RT_ICON, "icon image", {1, 2, 3, 4, 5, 6}},
        {RT_ACCELERATOR, "accelerators", {130}},
        {RT_VERSION, "version", {1}},
        {RT_MENU, "menu", {}},
        {RT_STRING, "string table", {}},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        std::vector<int> found = Numbers(k.type);
        std::vector<int> expected = k.numbers;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, found);
        for (int n : found) {
            SCOPED_TRACE(n);
            EXPECT_EQ(1u, Languages(k.type, n).size());
        }
    }
}

// ---- Bitmaps -----------------------------------------------------------------

enum class Badge { None, Warning, Error, Logo };

struct Picture {
    int id;
    WORD language;
    LONG width, height;
    BYTE keyIndex;
    BYTE keyRed, keyGreen, keyBlue;
    LONG pixelsPerMetre;
    Badge badge;
};

const Picture kPictures[] = {
    {103, kEnglishUS, 119, 97, 14, 0, 255, 255, 0, Badge::None},
    {127, kEnglishUS, 119, 97, 14, 0, 255, 255, 0, Badge::Warning},
    {126, kEnglishUS, 119, 97, 14, 0, 255, 255, 0, Badge::Error},
    {118, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::None},
    {119, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Warning},
    {117, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Error},
    {133, kFrenchCanada, 144, 29, 11, 0, 128, 128, 3780, Badge::Logo},
    {111, kEnglishUS, 142, 23, 6, 0, 128, 128, 0, Badge::Logo},
    {120, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::None},
    {122, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Warning},
    {121, kEnglishUS, 112, 98, 9, 0, 255, 255, 0, Badge::Error},
    {124, kEnglishUS, 112, 98, 14, 0, 255, 255, 0, Badge::None},
    {125, kEnglishUS, 112, 98, 14, 0, 255, 255, 0, Badge::Warning},
    {123, kEnglishUS, 112, 98, 14, 0, 255, 255, 0, Badge::Error},
    {159, kEnglishUS, 112, 92, 14, 0, 255, 255, 0, Badge::None},
    {160, kEnglishUS, 112, 92, 14, 0, 255, 255, 0, Badge::Warning},
    {161, kEnglishUS, 112, 92, 14, 0, 255, 255, 0, Badge::Error},
};

bool IsYellow(const RGBQUAD& c) { return c.rgbRed >= 200 && c.rgbGreen >= 150 && c.rgbBlue <= 100; }
bool IsRed(const RGBQUAD& c) { return c.rgbRed >= 160 && c.rgbGreen <= 90 && c.rgbBlue <= 90; }

// A packed 8-bit DIB: header, 256 colours, rows of `stride` bytes.
struct PictureBytes {
    BITMAPINFOHEADER header = {};
    const RGBQUAD* table = nullptr;
    const BYTE* pixels = nullptr;
    LONG stride = 0;
    DWORD size = 0;
};

PictureBytes ReadPicture(const Picture& p)
{
    PictureBytes picture;
    Bytes b = Resource(RT_BITMAP, p.id, p.language);
    picture.size = b.size;
    picture.stride = (p.width + 3) & ~3;
    if (b.size != 40 + 256 * 4 + static_cast<DWORD>(picture.stride * p.height))
        return picture;
    std::memcpy(&picture.header, b.data, sizeof picture.header);
    picture.table = reinterpret_cast<const RGBQUAD*>(b.data + 40);
    picture.pixels = b.data + 40 + 256 * 4;
    return picture;
}

TEST(ResourcesBitmaps, HeadersAreEightBitBottomUpWithPaddedRows)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE("bitmap " + std::to_string(p.id));
        EXPECT_EQ(std::vector<WORD>{p.language}, Languages(RT_BITMAP, p.id));
        PictureBytes b = ReadPicture(p);
        ASSERT_NE(nullptr, b.pixels) << "size " << b.size;
        const BITMAPINFOHEADER& h = b.header;
        EXPECT_EQ(40u, h.biSize);
        EXPECT_EQ(p.width, h.biWidth);
        EXPECT_EQ(p.height, h.biHeight) << "positive: rows stored bottom-up";
        EXPECT_EQ(1, h.biPlanes);
        EXPECT_EQ(8, h.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
        EXPECT_EQ(static_cast<DWORD>(b.stride * p.height), h.biSizeImage);
        EXPECT_EQ(p.pixelsPerMetre, h.biXPelsPerMeter);
        EXPECT_EQ(p.pixelsPerMetre, h.biYPelsPerMeter);
        EXPECT_EQ(0u, h.biClrUsed);
        EXPECT_EQ(0u, h.biClrImportant);
    }
}

TEST(ResourcesBitmaps, KeyColourAtItsIndexAndInTheBottomLeftPixel)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE("bitmap " + std::to_string(p.id));
        PictureBytes b = ReadPicture(p);
        ASSERT_NE(nullptr, b.pixels) << "size " << b.size;
        EXPECT_EQ(p.keyRed, b.table[p.keyIndex].rgbRed);
        EXPECT_EQ(p.keyGreen, b.table[p.keyIndex].rgbGreen);
        EXPECT_EQ(p.keyBlue, b.table[p.keyIndex].rgbBlue);
        EXPECT_EQ(0, b.table[p.keyIndex].rgbReserved);
        EXPECT_EQ(p.keyIndex, b.pixels[0]);
    }
}

// The panel turns the key entry into the button face, so a drawn pixel
// with the key colour under another index would stay cyan or teal. And
// each picture shows what its state calls for.
TEST(ResourcesBitmaps, OnlyTheBackgroundIsKeyedAndEachStateShowsItsMark)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE("bitmap " + std::to_string(p.id));
        PictureBytes b = ReadPicture(p);
        ASSERT_NE(nullptr, b.pixels) << "size " << b.size;
        int drawn = 0, keyColoured = 0, yellow = 0, red = 0;
        for (LONG row = 0; row < p.height; ++row)
            for (LONG x = 0; x < p.width; ++x) {
                BYTE i = b.pixels[row * b.stride + x];
                if (i == p.keyIndex)
                    continue;
                const RGBQUAD& c = b.table[i];
                ++drawn;
                keyColoured += c.rgbRed == p.keyRed && c.rgbGreen == p.keyGreen && c.rgbBlue == p.keyBlue;
                yellow += IsYellow(c);
                red += IsRed(c);
            }
        EXPECT_EQ(0, keyColoured);
        LONG area = p.width * p.height;
        if (p.badge == Badge::Logo) {
            EXPECT_GT(drawn, area / 10) << "the banner has its lettering";
            continue;
        }
        EXPECT_GT(drawn, area * 2 / 5) << "the device fills the picture";
        EXPECT_EQ(p.badge == Badge::Warning, yellow > 150) << yellow << " yellow pixels";
        EXPECT_EQ(p.badge == Badge::Error, red > 150) << red << " red pixels";
    }
}

// ---- Icons -------------------------------------------------------------------

#pragma pack(push, 2)
struct GroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct IconCase {
    int group;
    WORD image;
    const char* content;
};

const IconCase kIcons[] = {
    {102, 1, "device"},
    {104, 2, "device and warning triangle"},
    {105, 3, "device and error disc"},
    {106, 4, "nothing"},
    {107, 5, "warning triangle"},
    {108, 6, "error disc"},
};

struct IconPixels {
    int opaque = 0;
    int yellow = 0;
    int red = 0;
    int white = 0;
    bool colourBitsZero = true;
    bool maskAllSet = true;
};

IconPixels CountIconPixels(Bytes image)
{
    IconPixels n;
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(image.data + 40);
    const BYTE* colour = image.data + 40 + 16 * 4;
    const BYTE* mask = colour + 32 * 32 / 2;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            BYTE pair = colour[y * 16 + x / 2];
            BYTE index = x % 2 ? pair & 0x0F : pair >> 4;
            bool transparent = (mask[y * 4 + x / 8] >> (7 - x % 8)) & 1;
            n.colourBitsZero = n.colourBitsZero && index == 0;
            n.maskAllSet = n.maskAllSet && transparent;
            if (transparent)
                continue;
            const RGBQUAD& c = table[index];
            ++n.opaque;
            n.yellow += c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 0;
            n.red += c.rgbRed == 255 && c.rgbGreen == 0 && c.rgbBlue == 0;
            n.white += c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 255;
        }
    return n;
}

TEST(ResourcesIcons, GroupsHoldOneSixteenColourImageEach)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE("icon group " + std::to_string(icon.group));
        EXPECT_EQ(std::vector<WORD>{kJapanese}, Languages(RT_GROUP_ICON, icon.group));
        EXPECT_EQ(std::vector<WORD>{kJapanese}, Languages(RT_ICON, icon.image));
        Bytes group = Resource(RT_GROUP_ICON, icon.group, kJapanese);
        ASSERT_EQ(sizeof(GroupHeader) + sizeof(GroupEntry), group.size);
        GroupHeader header;
        GroupEntry entry;
        std::memcpy(&header, group.data, sizeof header);
        std::memcpy(&entry, group.data + sizeof header, sizeof entry);
        EXPECT_EQ(0, header.reserved);
        EXPECT_EQ(1, header.type);
        EXPECT_EQ(1, header.count);
        EXPECT_EQ(32, entry.width);
        EXPECT_EQ(32, entry.height);
        EXPECT_EQ(16, entry.colours);
        EXPECT_EQ(1, entry.planes);
        EXPECT_EQ(4, entry.bitCount);
        EXPECT_EQ(744u, entry.bytes);
        EXPECT_EQ(icon.image, entry.id);

        Bytes image = Resource(RT_ICON, icon.image, kJapanese);
        ASSERT_EQ(744u, image.size);
        BITMAPINFOHEADER h;
        std::memcpy(&h, image.data, sizeof h);
        EXPECT_EQ(40u, h.biSize);
        EXPECT_EQ(32, h.biWidth);
        EXPECT_EQ(64, h.biHeight) << "colour bits and mask";
        EXPECT_EQ(1, h.biPlanes);
        EXPECT_EQ(4, h.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), h.biCompression);
    }
}

TEST(ResourcesIcons, EachShowsItsContent)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE(std::string("icon ") + std::to_string(icon.group) + ": " + icon.content);
        Bytes image = Resource(RT_ICON, icon.image, kJapanese);
        ASSERT_EQ(744u, image.size);
        IconPixels n = CountIconPixels(image);
        switch (icon.group) {
        case 106:
            EXPECT_TRUE(n.maskAllSet);
            EXPECT_TRUE(n.colourBitsZero);
            break;
        case 102:
            EXPECT_GT(n.opaque, 400);
            EXPECT_EQ(0, n.yellow);
            EXPECT_EQ(0, n.red);
            break;
        case 104:
            EXPECT_GT(n.opaque, 400);
            EXPECT_GT(n.yellow, 40);
            break;
        case 105:
            EXPECT_GT(n.opaque, 400);
            EXPECT_GT(n.red, 60);
            EXPECT_GT(n.white, 20);
            break;
        case 107:
            EXPECT_GT(n.yellow, 200);
            EXPECT_EQ(0, n.red);
            break;
        case 108:
            EXPECT_GT(n.red, 300);
            EXPECT_GT(n.white, 60);
            EXPECT_EQ(0, n.yellow);
            break;
        }
    }
}

// Windows itself must accept the transparent icon: loading it and
// drawing it over a white surface leaves the surface white.
TEST(ResourcesIcons, TransparentIconDrawsNothing)
{
    Bytes image = Resource(RT_ICON, 4, kJapanese);
    ASSERT_EQ(744u, image.size);
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE,
                                          0x00030000, 32, 32, LR_DEFAULTCOLOR);
    ASSERT_NE(nullptr, icon);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, surface);
    RECT all = {0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
    int changed = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            changed += GetPixel(dc, x, y) != RGB(255, 255, 255);
    EXPECT_EQ(0, changed);
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyIcon(icon);
}

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
