// The pure decisions of the notification-area icon, called directly, and
// the texts of its menu.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "ui/tray_icon.h"
#include "ui/tray_rules.h"

namespace {

struct ShellCase {
    ShellVersion shell;
    DWORD dataSize;
    size_t tooltipSize;
    bool balloons;
    DWORD errorBalloon;
};

TEST(TrayRules, LayoutAndLimitsFollowTheShellVersion)
{
    const ShellCase cases[] = {
        {{4, 0, 0}, 88, 64, false, NIIF_ERROR},              // Windows 95, NT 4.0
        {{4, 72, 3110}, 88, 64, false, NIIF_ERROR},          // with Internet Explorer 4
        {{5, 0, 2195}, 488, 128, true, NIIF_ERROR},          // Windows 2000
        {{6, 0, 2900}, 504, 128, true, NIIF_ERROR | NIIF_NOSOUND},  // Windows XP
        {{6, 0, 6000}, 508, 128, true, NIIF_ERROR | NIIF_NOSOUND},  // Windows Vista
        {{10, 0, 19041}, 508, 128, true, NIIF_ERROR | NIIF_NOSOUND},
    };
    for (const ShellCase& test : cases) {
        SCOPED_TRACE(std::to_string(test.shell.major) + "." + std::to_string(test.shell.minor) + "." +
                     std::to_string(test.shell.build));
        EXPECT_EQ(test.dataSize, NotifyIconDataSize(test.shell));
        EXPECT_EQ(test.tooltipSize, TooltipSize(test.shell));
        EXPECT_EQ(test.balloons, ShellShowsBalloons(test.shell));
        EXPECT_EQ(test.errorBalloon, BalloonIconFlags(Error, test.shell));
        EXPECT_EQ(test.errorBalloon - NIIF_ERROR + NIIF_WARNING, BalloonIconFlags(Warning, test.shell));
    }
}

struct TooltipCase {
    std::string status;
    size_t size;
    std::string tooltip;
};

TEST(TrayRules, TooltipIsCutBetweenWords)
{
    const std::string longWord(80, 'x');
    const TooltipCase cases[] = {
        {"Disponible", 64, "Brevik Solvane XL - Disponible"},
        {"", 64, "Brevik Solvane XL"},
        // 63 characters exactly, and one more, whose last word then goes.
        {"Porte avant ou laterale ouverte. Fermer le.", 64, "Brevik Solvane XL - Porte avant ou laterale ouverte. Fermer le."},
        {"Porte avant ou laterale ouverte. Fermer les.", 64, "Brevik Solvane XL - Porte avant ou laterale ouverte. Fermer"},
        // A word that ends at the limit is kept; the blanks before a cut go.
        {"Porte avant ou laterale ouverte. Fermer les portes", 64,
         "Brevik Solvane XL - Porte avant ou laterale ouverte. Fermer les"},
        {"Porte avant ou laterale ouverte.  Refermer-les", 64, "Brevik Solvane XL - Porte avant ou laterale ouverte."},
        {"Erreur de communication\nL'ordinateur-a-perdu-le-produit", 64, "Brevik Solvane XL - Erreur de communication"},
        // No blank to cut at: the word itself is cut.
        {longWord, 64, "Brevik Solvane XL - " + longWord.substr(0, 43)},
    };
    for (const TooltipCase& test : cases) {
        SCOPED_TRACE(test.status);
        char tooltip[128];
        JoinTooltip(tooltip, test.size, "Brevik Solvane XL", test.status.c_str());
        EXPECT_EQ(test.tooltip, tooltip);
        EXPECT_LT(strlen(tooltip), test.size);
    }
    std::string status = "Le niveau de toner est bas.  Commander une nouvelle cartouche pour la remplacer "
                         "prochainement et la garder sous la main.";
    char tooltip[128];
    JoinTooltip(tooltip, sizeof tooltip, "Brevik Solvane XL", status.c_str());
    EXPECT_EQ("Brevik Solvane XL - " + status.substr(0, status.rfind(" sous")), tooltip);
}

struct BalloonCase {
    const char* name;
    DeviceState before;
    DeviceState after;
    bool textChanged;
    const char* text;
    bool outOfSight;
    ShellVersion shell;
    bool due;
};

TEST(TrayRules, BalloonIsDueForANewErrorOrWarningOutOfSight)
{
    const ShellVersion xp = {6, 0, 2900};
    const BalloonCase cases[] = {
        {"error out of sight", Ready, Error, true, "Incident papier", true, xp, true},
        {"error in front", Ready, Error, true, "Incident papier", false, xp, false},
        {"the same error again", Error, Error, false, "Incident papier", true, xp, false},
        {"another error", Error, Error, true, "Porte ouverte", true, xp, true},
        {"an error with the text already shown", Ready, Error, false, "Incident papier", true, xp, true},
        {"a new warning", Ready, Warning, true, "Toner bas", true, xp, true},
        {"warning after error", Error, Warning, true, "Toner bas", true, xp, true},
        {"the same warning", Warning, Warning, false, "Toner bas", true, xp, false},
        {"ready", Error, Ready, true, "Disponible", true, xp, false},
        {"an empty text", Ready, Error, false, "", true, xp, false},
        {"shell before 5.0", Ready, Error, true, "Incident papier", true, {4, 0, 0}, false},
        {"shell 5.0", Ready, Error, true, "Incident papier", true, {5, 0, 0}, true},
    };
    for (const BalloonCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(test.due, BalloonDue(test.before, test.after, test.textChanged, test.text, test.outOfSight, test.shell));
    }
}

TEST(TrayRules, MenuOffersAfficherAndFermer)
{
    HMENU menu = CreateNotificationAreaMenu();
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(2, GetMenuItemCount(menu));
    const struct {
        UINT id;
        const char* text;
    } items[] = {{IDM_TRAY_SHOW, "Afficher"}, {IDM_TRAY_CLOSE, "Fermer"}};
    for (int position = 0; position < 2; ++position) {
        char text[32] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(items[position].text), text);
        EXPECT_EQ(items[position].id, GetMenuItemID(menu, position));
    }
    DestroyMenu(menu);
}

}  // namespace
