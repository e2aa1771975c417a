// The dialog templates inside the built lumeview.exe: the panel and the
// options dialog as the program creates them, the other languages, and
// which resources the executable holds in which language.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resource_reader.h"

namespace {

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

}  // namespace
