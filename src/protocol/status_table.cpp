// The texts are written in UTF-8 here; the build turns them into code page
// 1252 bytes (-fexec-charset=CP1252). Spacing and punctuation are the
// device maker's own, double spaces and missing full stops included.
#include "protocol/status_table.h"

#include "lumeview/protocol.h"
#include "ui/idle_text.h"

namespace {

// Shared by two report rows and the copying caption.
const char textCopying[] = "Copie en cours";

const char textEmpty[] = "";

const char textProductError[] =
    "Erreur produit\n"
    "Mettre hors tension l'alimentation principale.  Attendre environ 5 secondes.  "
    "Mettre sous tension.  Si l'erreur persiste, se référer au guide utilisateur.";

// The blank before the line feed is part of the text.
const char textCommunicationError[] =
    "Erreur communication \n"
    "L'ordinateur a perdu la communication avec le produit.  Annuler l'opération en cours, "
    "vérifier le câble, mettre hors tension puis de nouveau sous tension, répéter l'opération.";

const char textImagePrintError[] =
    "Erreur impression\n"
    "L'impression de l'image peut être incomplète. Diminuer la résolution et réimprimer "
    "le travail pour corriger le problème.";

const char textDoorsOpen[] = "Porte avant ou latérale ouverte.  Fermer les portes.";
const char textPaperJam[] = "Incident papier";
const char textManualFeed[] = "Mettre en place le papier dans le départ manuel";
const char textMultiPurposeFeed[] = "Vérifier le départ manuel multiple. Fin papier ou faux départ";
const char textTray2[] = "Vérifier le magasin 2. Fin papier ou faux départ.";
const char textMainTray[] = "Vérifier le magasin principal: Fin papier ou faux départ.";

const char textFeederJam[] =
    "Incident chargeur de documents\n"
    "Retirer les documents bloqués du chargeur de documents.\n"
    "Réarranger le dernier ou les 2 derniers documents et relancer le travail.";

const char textModuleEndOfLife[] =
    "Fin de vie du module d'impression.  Remplacer par un nouveau module.";
const char textTonerEmpty[] =
    "La cartouche de toner est vide.  Remplacer par une nouvelle cartouche "
    "Retourner la cartouche à Brevik.";
const char textInsertToner[] = "Insérer la cartouche de toner dans la machine.";

const char textTonerLow[] =
    "Le niveau de toner est bas.  Commander une nouvelle cartouche pour la remplacer "
    "prochainement.";
const char textModuleNearEnd[] =
    "Le module d'impression est en fin de vie. Commander une nouvelle cartouche pour la "
    "remplacer prochainement.";
const char textPagePrintError[] =
    "Erreur impression\n"
    "La page d'impression peut être incomplète.  Diminuer la résolution et réimprimer "
    "le travail pour corriger le problème.";

}  // namespace

// Specific rows first, by category and code; the catch-all last.
const StatusEntry statusTable[] = {
    {LVWM_ERROR, SERVICE_ERROR, 1, "LVWM_ERROR:SERVICE_ERROR:SE_PCUROM"},
    {LVWM_ERROR, SERVICE_ERROR, 2, "LVWM_ERROR:SERVICE_ERROR:SE_PCURAM"},
    {LVWM_ERROR, SERVICE_ERROR, 3, "LVWM_ERROR:SERVICE_ERROR:SE_PCUNVRAM"},
    {LVWM_ERROR, SERVICE_ERROR, 4, "LVWM_ERROR:SERVICE_ERROR:SE_PCUCOM"},
    {LVWM_ERROR, SERVICE_ERROR, 5, "LVWM_ERROR:SERVICE_ERROR:SE_LSU"},
    {LVWM_ERROR, SERVICE_ERROR, 6, "LVWM_ERROR:SERVICE_ERROR:SE_MMOTOR"},
    {LVWM_ERROR, SERVICE_ERROR, 7, "LVWM_ERROR:SERVICE_ERROR:SE_PMOTOR"},
    {LVWM_ERROR, SERVICE_ERROR, 8, "LVWM_ERROR:SERVICE_ERROR:SE_HHIGH"},
    {LVWM_ERROR, SERVICE_ERROR, 9, "LVWM_ERROR:SERVICE_ERROR:SE_HLOW"},
    {LVWM_ERROR, SERVICE_ERROR, 10, "LVWM_ERROR:SERVICE_ERROR:SE_HOPEN"},
    {LVWM_ERROR, SERVICE_ERROR, 11, "LVWM_ERROR:SERVICE_ERROR:SE_PCLROM"},
    {LVWM_ERROR, SERVICE_ERROR, 12, "LVWM_ERROR:SERVICE_ERROR:SE_PCLRAM"},
    {LVWM_ERROR, SERVICE_ERROR, 13, "LVWM_ERROR:SERVICE_ERROR:SE_PCLNVRAM"},
    {LVWM_ERROR, SERVICE_ERROR, 14, "LVWM_ERROR:SERVICE_ERROR:SE_PCLCTRL"},
    {LVWM_ERROR, SERVICE_ERROR, 15, "LVWM_ERROR:SERVICE_ERROR:SE_PCLIF"},
    {LVWM_ERROR, SERVICE_ERROR, 16, "LVWM_ERROR:SERVICE_ERROR:SE_COUNTER"},
    {LVWM_ERROR, SERVICE_ERROR, 17, "LVWM_ERROR:SERVICE_ERROR:SE_WSHADING"},
    {LVWM_ERROR, SERVICE_ERROR, 18, "LVWM_ERROR:SERVICE_ERROR:SE_MRETURN"},
    {LVWM_ERROR, SERVICE_ERROR, 19, "LVWM_ERROR:SERVICE_ERROR:SE_MFEED"},
    {LVWM_ERROR, SERVICE_ERROR, 20, textProductError},

    {LVWM_ERROR, OPECALL_ERROR, 1, "LVWM_ERROR:OPECALL_ERROR:OE_DIFFENGINE"},
    {LVWM_ERROR, OPECALL_ERROR, 2, textCommunicationError},
    {LVWM_ERROR, OPECALL_ERROR, 3, textImagePrintError},
    {LVWM_ERROR, OPECALL_ERROR, 4, "LVWM_ERROR:OPECALL_ERROR:OE_OVERRUN"},
    {LVWM_ERROR, OPECALL_ERROR, 5, "LVWM_ERROR:OPECALL_ERROR:OE_UNDERRUN"},
    {LVWM_ERROR, OPECALL_ERROR, 6, "LVWM_ERROR:OPECALL_ERROR:OE_EMONMEMFULL"},

    {LVWM_ERROR, OPECALL_RECOVER, 1, textDoorsOpen},
    {LVWM_ERROR, OPECALL_RECOVER, 2, textPaperJam},
    {LVWM_ERROR, OPECALL_RECOVER, 3, "LVWM_ERROR:OPECALL_RECOVER:OR_PJAM1"},
    {LVWM_ERROR, OPECALL_RECOVER, 4, "LVWM_ERROR:OPECALL_RECOVER:OR_PJAM2"},
    {LVWM_ERROR, OPECALL_RECOVER, 5, textCopying},
    {LVWM_ERROR, OPECALL_RECOVER, 6, textCopying},
    {LVWM_ERROR, OPECALL_RECOVER, 7, textManualFeed},
    {LVWM_ERROR, OPECALL_RECOVER, 8, textMultiPurposeFeed},
    {LVWM_ERROR, OPECALL_RECOVER, 9, textTray2},
    {LVWM_ERROR, OPECALL_RECOVER, 10, textMainTray},
    {LVWM_ERROR, OPECALL_RECOVER, 11, "LVWM_ERROR:OPECALL_RECOVER:OR_SPFOPEN"},
    {LVWM_ERROR, OPECALL_RECOVER, 12, "LVWM_ERROR:OPECALL_RECOVER:OR_SPFPE"},
    {LVWM_ERROR, OPECALL_RECOVER, 13, textFeederJam},
    {LVWM_ERROR, OPECALL_RECOVER, 14, textModuleEndOfLife},
    {LVWM_ERROR, OPECALL_RECOVER, 15, textTonerEmpty},
    {LVWM_ERROR, OPECALL_RECOVER, 16, textInsertToner},
    {LVWM_ERROR, OPECALL_RECOVER, 17, "LVWM_ERROR:OPECALL_RECOVER:OR_TONERWAIT"},
    // 18 and 19 have no text of their own
    {LVWM_ERROR, OPECALL_RECOVER, 20, "LVWM_ERROR:OPECALL_RECOVER:OR_TONERSNS"},

    {LVWM_ERROR, OPECALL_WARNING, 1, textTonerLow},
    {LVWM_ERROR, OPECALL_WARNING, 2, textModuleNearEnd},
    {LVWM_ERROR, OPECALL_WARNING, 3, textPagePrintError},

    // Every other report empties the status text.
    {LVWM_ERROR, 0, 0, textEmpty},
    {0, 0, 0, nullptr},
};

bool StatusEntryMatches(const StatusEntry& row, UINT message, WPARAM wParam, LPARAM lParam)
{
    return row.message == message
        && (row.wParam == 0 || row.wParam == wParam)
        && (row.lParam == 0 || row.lParam == lParam);
}

const StatusEntry* FindStatusEntry(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const StatusEntry* row = statusTable; row->message != 0; ++row) {
        if (row->text != nullptr && StatusEntryMatches(*row, message, wParam, lParam))
            return row;
    }
    return nullptr;
}

const char* OperationCaption(unsigned operation)
{
    switch (operation) {
    case LV_OP_ENDED: return textAvailable;
    case LV_OP_PSAVEMODE: return "LVWM_OPERATION:PSAVEMODE";
    case LV_OP_PRINTING: return "Impression en cours";
    case LV_OP_SCANNING: return "Numérisation en cours";
    case LV_OP_COPYING: return textCopying;
    default: return nullptr;
    }
}

// Names for integrators' listings: the code name of the report key where
// the row shows one, otherwise a short English description of the row.
namespace {

struct RowName {
    DWORD category;
    DWORD code;
    const char* name;
};

const RowName rowNames[] = {
    {SERVICE_ERROR, 20, "product error"},
    {OPECALL_ERROR, 2, "communication error"},
    {OPECALL_ERROR, 3, "image may be incomplete"},
    {OPECALL_RECOVER, 1, "door open"},
    {OPECALL_RECOVER, 2, "paper jam"},
    {OPECALL_RECOVER, 5, "copying"},
    {OPECALL_RECOVER, 6, "copying"},
    {OPECALL_RECOVER, 7, "load the manual feed"},
    {OPECALL_RECOVER, 8, "multi-purpose feed empty or misfeed"},
    {OPECALL_RECOVER, 9, "tray 2 empty or misfeed"},
    {OPECALL_RECOVER, 10, "main tray empty or misfeed"},
    {OPECALL_RECOVER, 13, "document feeder jam"},
    {OPECALL_RECOVER, 14, "print module at end of life"},
    {OPECALL_RECOVER, 15, "toner empty"},
    {OPECALL_RECOVER, 16, "toner cartridge missing"},
    {OPECALL_WARNING, 1, "toner low"},
    {OPECALL_WARNING, 2, "print module near end of life"},
    {OPECALL_WARNING, 3, "page may be incomplete"},
};

const char reportKeyPrefix[] = "LVWM_ERROR:";

bool IsReportKey(const char* text)
{
    for (int i = 0; reportKeyPrefix[i] != '\0'; ++i) {
        if (text[i] != reportKeyPrefix[i])
            return false;
    }
    return true;
}

}  // namespace

const char* StatusRowName(const StatusEntry& row)
{
    if (row.text == nullptr)
        return "";
    if (row.wParam == 0 && row.lParam == 0)
        return "any other report";
    if (IsReportKey(row.text)) {
        const char* name = row.text;
        for (const char* p = row.text; *p != '\0'; ++p) {
            if (*p == ':')
                name = p + 1;
        }
        return name;
    }
    for (const RowName& entry : rowNames) {
        if (entry.category == row.wParam && entry.code == static_cast<DWORD>(row.lParam))
            return entry.name;
    }
    return "";
}

const char* CategoryName(DWORD category)
{
    switch (category) {
    case CATEGORY_NONE: return "none";
    case SERVICE_ERROR: return "SERVICE_ERROR";
    case OPECALL_ERROR: return "OPECALL_ERROR";
    case OPECALL_RECOVER: return "OPECALL_RECOVER";
    case OPECALL_WARNING: return "OPECALL_WARNING";
    default: return "";
    }
}
