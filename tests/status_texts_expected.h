// What the monitor must show for each status report, written independently
// of the program's table: the accented letters as \u escapes in wide
// strings, so that a wrong source or execution charset cannot hide itself.
#ifndef LUMEVIEW_TESTS_STATUS_TEXTS_EXPECTED_H
#define LUMEVIEW_TESTS_STATUS_TEXTS_EXPECTED_H

#include <windows.h>

#include <cstddef>

enum class ExpectedState { Ready, Warning, ErrorAlert };

struct ExpectedRow {
    DWORD category;
    DWORD code;
    ExpectedState state;
    const wchar_t* text;
};

constexpr ExpectedState kReady = ExpectedState::Ready;
constexpr ExpectedState kWarning = ExpectedState::Warning;
constexpr ExpectedState kErrorAlert = ExpectedState::ErrorAlert;

// The rows of categories 1 to 4 in table order.
inline const ExpectedRow kExpectedRows[] = {
    {1, 1, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCUROM"},
    {1, 2, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCURAM"},
    {1, 3, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCUNVRAM"},
    {1, 4, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCUCOM"},
    {1, 5, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_LSU"},
    {1, 6, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_MMOTOR"},
    {1, 7, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PMOTOR"},
    {1, 8, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_HHIGH"},
    {1, 9, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_HLOW"},
    {1, 10, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_HOPEN"},
    {1, 11, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCLROM"},
    {1, 12, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCLRAM"},
    {1, 13, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCLNVRAM"},
    {1, 14, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCLCTRL"},
    {1, 15, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_PCLIF"},
    {1, 16, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_COUNTER"},
    {1, 17, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_WSHADING"},
    {1, 18, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_MRETURN"},
    {1, 19, kErrorAlert,
     L"LVWM_ERROR:SERVICE_ERROR:SE_MFEED"},
    {1, 20, kErrorAlert,
     L"Erreur produit\n"
     L"Mettre hors tension l'alimentation principale.  Attendre environ 5 secondes.  "
     L"Mettre sous tension.  Si l'erreur persiste, se r\u00e9f\u00e9rer au guide "
     L"utilisateur."},
    {2, 1, kErrorAlert,
     L"LVWM_ERROR:OPECALL_ERROR:OE_DIFFENGINE"},
    {2, 2, kErrorAlert,
     L"Erreur communication \n"
     L"L'ordinateur a perdu la communication avec le produit.  Annuler "
     L"l'op\u00e9ration en cours, v\u00e9rifier le c\u00e2ble, mettre hors tension "
     L"puis de nouveau sous tension, r\u00e9p\u00e9ter l'op\u00e9ration."},
    {2, 3, kErrorAlert,
     L"Erreur impression\n"
     L"L'impression de l'image peut \u00eatre incompl\u00e8te. Diminuer la "
     L"r\u00e9solution et r\u00e9imprimer le travail pour corriger le probl\u00e8me."},
    {2, 4, kErrorAlert,
     L"LVWM_ERROR:OPECALL_ERROR:OE_OVERRUN"},
    {2, 5, kErrorAlert,
     L"LVWM_ERROR:OPECALL_ERROR:OE_UNDERRUN"},
    {2, 6, kErrorAlert,
     L"LVWM_ERROR:OPECALL_ERROR:OE_EMONMEMFULL"},
    {3, 1, kErrorAlert,
     L"Porte avant ou lat\u00e9rale ouverte.  Fermer les portes."},
    {3, 2, kErrorAlert,
     L"Incident papier"},
    {3, 3, kReady,
     L"LVWM_ERROR:OPECALL_RECOVER:OR_PJAM1"},
    {3, 4, kReady,
     L"LVWM_ERROR:OPECALL_RECOVER:OR_PJAM2"},
    {3, 5, kReady,
     L"Copie en cours"},
    {3, 6, kReady,
     L"Copie en cours"},
    {3, 7, kErrorAlert,
     L"Mettre en place le papier dans le d\u00e9part manuel"},
    {3, 8, kErrorAlert,
     L"V\u00e9rifier le d\u00e9part manuel multiple. Fin papier ou faux d\u00e9part"},
    {3, 9, kErrorAlert,
     L"V\u00e9rifier le magasin 2. Fin papier ou faux d\u00e9part."},
    {3, 10, kErrorAlert,
     L"V\u00e9rifier le magasin principal: Fin papier ou faux d\u00e9part."},
    {3, 11, kReady,
     L"LVWM_ERROR:OPECALL_RECOVER:OR_SPFOPEN"},
    {3, 12, kReady,
     L"LVWM_ERROR:OPECALL_RECOVER:OR_SPFPE"},
    {3, 13, kErrorAlert,
     L"Incident chargeur de documents\n"
     L"Retirer les documents bloqu\u00e9s du chargeur de documents.\n"
     L"R\u00e9arranger le dernier ou les 2 derniers documents et relancer le travail."},
    {3, 14, kErrorAlert,
     L"Fin de vie du module d'impression.  Remplacer par un nouveau module."},
    {3, 15, kErrorAlert,
     L"La cartouche de toner est vide.  Remplacer par une nouvelle cartouche "
     L"Retourner la cartouche \u00e0 Brevik."},
    {3, 16, kErrorAlert,
     L"Ins\u00e9rer la cartouche de toner dans la machine."},
    {3, 17, kReady,
     L"LVWM_ERROR:OPECALL_RECOVER:OR_TONERWAIT"},
    {3, 20, kReady,
     L"LVWM_ERROR:OPECALL_RECOVER:OR_TONERSNS"},
    {4, 1, kWarning,
     L"Le niveau de toner est bas.  Commander une nouvelle cartouche pour la "
     L"remplacer prochainement."},
    {4, 2, kWarning,
     L"Le module d'impression est en fin de vie. Commander une nouvelle cartouche "
     L"pour la remplacer prochainement."},
    {4, 3, kErrorAlert,
     L"Erreur impression\n"
     L"La page d'impression peut \u00eatre incompl\u00e8te.  Diminuer la "
     L"r\u00e9solution et r\u00e9imprimer le travail pour corriger le probl\u00e8me."},
};
inline constexpr size_t kExpectedRowCount = sizeof(kExpectedRows) / sizeof(kExpectedRows[0]);

// The row of (category, code), or nullptr when the report has none.
inline const ExpectedRow* ExpectedRowOf(DWORD category, DWORD code)
{
    for (const ExpectedRow& row : kExpectedRows) {
        if (row.category == category && row.code == code)
            return &row;
    }
    return nullptr;
}

// The text a report shows: its row's, or empty (the catch-all).
inline const wchar_t* ExpectedText(DWORD category, DWORD code)
{
    const ExpectedRow* row = ExpectedRowOf(category, code);
    return row ? row->text : L"";
}

// The state a report leads to, written as the table of reports by
// category and code.
inline ExpectedState ExpectedStateOf(DWORD category, DWORD code)
{
    switch (category) {
    case 0: return kReady;
    case 1:
    case 2: return kErrorAlert;
    case 3:
        switch (code) {
        case 1: case 2: case 7: case 8: case 9: case 10:
        case 13: case 14: case 15: case 16: case 22: case 23:
            return kErrorAlert;
        default:
            return kReady;
        }
    case 4: return code == 3 ? kErrorAlert : kWarning;
    default: return kReady;
    }
}

inline const char* StateName(ExpectedState state)
{
    switch (state) {
    case ExpectedState::Ready: return "Ready";
    case ExpectedState::Warning: return "Warning";
    default: return "Error";
    }
}

struct ExpectedCaption {
    unsigned operation;
    const wchar_t* text;
};

inline const ExpectedCaption kExpectedCaptions[] = {
    {1, L"Disponible"},
    {2, L"LVWM_OPERATION:PSAVEMODE"},
    {10, L"Impression en cours"},
    {20, L"Num\u00e9risation en cours"},
    {30, L"Copie en cours"},
};

// The categories and codes every report test walks: all categories, the
// listed codes and the gaps between them, just above the last listed code,
// far above it, listed codes with high bits set (whole values count, not
// their low 16 bits), and the extremes, negative ones included.
inline const DWORD kReportCategories[] = {0, 1, 2, 3, 4, 5, 6, 7, 0x7FFFFFFF, 0xFFFFFFFC, 0xFFFFFFFF};
inline const DWORD kReportCodes[] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 99,
    0x00010002, 0x00010003, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};

#endif
