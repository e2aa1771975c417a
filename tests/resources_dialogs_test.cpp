// The dialog templates inside the built lumeview.exe: the panel and the
// options dialog as the program creates them, the other languages, and
// which resources the executable holds in which language.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "resource.h"
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

// The predefined classes, stored as ordinals.
const char* const kButton = "#128";
const char* const kStatic = "#130";

// Template 134 exactly as the panel is created from it.
const Control kPanel[] = {
    {IDC_PANEL_CLOSE, kButton, 0x50010001, 114, 138, 73, 14, "button:Close"},
    {IDC_PANEL_HELP, kButton, 0x50010000, 192, 138, 71, 14, "button:Help"},
    {IDC_QUEUE_BUTTON, kButton, 0x48010000, 120, 76, 103, 14, "button:pq"},
    {IDC_PROPERTIES, kButton, 0x48010000, 120, 76, 103, 14, "Button:prop..."},
    {IDC_OPTIONS, kButton, 0x50010000, 158, 115, 103, 14, "Button:opts"},
    {IDC_CANCEL_JOB, kButton, 0x50010000, 170, 91, 91, 14, "button:Cancel Job"},
    {IDC_STATE_ICON, kStatic, 0x50000003, 7, 7, 18, 20, "#106"},
    {IDC_PANEL_GROUP, kButton, 0x48000007, 7, 43, 256, 88, ""},
    {IDC_STATUS_TEXT, kStatic, 0x50821000, 39, 5, 224, 41, "emstatus"},
    {IDC_DEVICE_PICTURE, kStatic, 0x50000007, 18, 49, 81, 59, ""},
    {IDC_DOCUMENT_LABEL, kStatic, 0x50020000, 123, 49, 128, 8, "MSG Now Printing:"},
    {IDC_DOCUMENT_NAME, kStatic, 0x5082100C, 123, 57, 139, 13, "Static"},
    {IDC_PAGES_LABEL, kStatic, 0x48020000, 124, 72, 128, 8, "MSG pages"},
    {IDC_PAGES_TEXT, kStatic, 0x48821000, 124, 72, 128, 13, "Static"},
    {IDC_PERCENT_LABEL, kStatic, 0x48020000, 124, 72, 123, 8, "MSG percent complete"},
    {IDC_PROGRESS_BAR, kStatic, 0x48801007, 124, 72, 128, 13, ""},
    {IDC_LOGO, kStatic, 0x50000007, 10, 108, 104, 20, ""},
    {IDC_JOB_STATE_LABEL, kStatic, 0x48020000, 13, 43, 52, 11, "Static"},
    {IDC_SEPARATOR, kButton, 0x50000007, 7, 129, 257, 6, ""},
};

// Template 133, the options dialog.
const Control kOptions[] = {
    {IDC_OPTIONS_OK, kButton, 0x50030001, 98, 86, 52, 14, "OK"},
    {IDC_OPTIONS_CANCEL, kButton, 0x50010000, 156, 86, 52, 14, "cancel"},
    {IDC_MODE_WHILE_PRINTING, kButton, 0x50030009, 15, 19, 181, 10, "Radio: diaplay status..."},
    {IDC_MODE_ALWAYS, kButton, 0x50010009, 15, 30, 182, 10, "Radio: Always diaplay"},
    {IDC_MODE_OFF, kButton, 0x50010009, 15, 41, 183, 10, "Radio: status off..."},
    {IDC_ALERT_CHECK, kButton, 0x50030003, 15, 55, 181, 10, "Check: sound audio..."},
    {IDC_NOTIFY_GROUP, kButton, 0x50000007, 5, 5, 203, 72, "STATIC: Event notification"},
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
    for (int id : {IDC_QUEUE_BUTTON, IDC_PROPERTIES, IDC_PANEL_GROUP, IDC_PAGES_LABEL, IDC_PAGES_TEXT,
                   IDC_PERCENT_LABEL, IDC_PROGRESS_BAR, IDC_JOB_STATE_LABEL}) {
        SCOPED_TRACE(id);
        const ParsedControl* c = d.Find(id);
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(0u, c->style & WS_VISIBLE);
        EXPECT_EQ(static_cast<DWORD>(WS_DISABLED), c->style & WS_DISABLED);
    }
    const ParsedControl* icon = d.Find(IDC_STATE_ICON);
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
        if (c.id != IDC_SEPARATOR)
            ids.push_back(c.id);
    // The English panel lists the separator right after the status text.
    auto at = panel == 101 ? ids.begin() + 9 : ids.end();
    ids.insert(at, IDC_SEPARATOR);
    return ids;
}

// The style of each panel control in one language: the style of 134, with
// the few changes that tell the languages apart.
DWORD ExpectedPanelStyle(int panel, const Control& c)
{
    if (panel == 113)
        return (c.style | WS_VISIBLE) & ~static_cast<DWORD>(WS_DISABLED);
    if (panel == 145 && (c.id == IDC_QUEUE_BUTTON || c.id == IDC_PERCENT_LABEL || c.id == IDC_JOB_STATE_LABEL))
        return c.style | WS_VISIBLE;
    if (panel == 149 && c.id == IDC_PANEL_GROUP)
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
        const ParsedControl* icon = Dialog(p.panel, p.language).Find(IDC_STATE_ICON);
        ASSERT_NE(nullptr, icon);
        EXPECT_EQ(StateIconAt(p.panel).x, icon->x);
        EXPECT_EQ(StateIconAt(p.panel).y, icon->y);
        EXPECT_EQ("#106", icon->caption);
    }
}

TEST(ResourcesOtherLanguages, FullFrenchLayoutShowsEveryControlStacked)
{
    ParsedDialog d = Dialog(113, 0x040C);
    const struct {
        int id;
        short x, y, cx, cy;
    } stacked[] = {
        {IDC_QUEUE_BUTTON, 13, 117, 103, 14},
        {IDC_PROPERTIES, 13, 138, 103, 14},
        {IDC_OPTIONS, 13, 159, 103, 14},
        {IDC_PANEL_GROUP, 7, 35, 256, 146},
    };
    for (const auto& e : stacked) {
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
    } rows[] = {{IDC_PAGES_LABEL, 77},  {IDC_PAGES_TEXT, 86},  {IDC_PERCENT_LABEL, 105},
                {IDC_PROGRESS_BAR, 113}, {IDC_PANEL_CLOSE, 194}, {IDC_PANEL_HELP, 194}};
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
    dialogs.insert(dialogs.end(), {133, 134});
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
