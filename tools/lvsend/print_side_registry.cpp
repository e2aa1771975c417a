#include "print_side_registry.h"

#include "lvps.h"
#include "output.h"

namespace {

int Published(LvpsStatus status, const char* subkey, const std::string& text)
{
    if (status != LVPS_OK)
        return Fail(ExitFailure, "cannot write HKEY_CLASSES_ROOT\\%s\\%s (%s)", LV_REGISTRY_DOCUMENT_KEY, subkey,
                    lvps_status_text(status));
    PrintLine("HKEY_CLASSES_ROOT\\%s\\%s = %s", LV_REGISTRY_DOCUMENT_KEY, subkey,
              Quoted(Utf8FromCp1252(text)).c_str());
    return ExitOk;
}

}  // namespace

int PublishDocumentName(const std::string& name)
{
    if (name.size() > LVPS_DOCUMENT_NAME_MAX)
        return Fail(ExitUsage, "docname: at most %d characters, what the monitor shows", LVPS_DOCUMENT_NAME_MAX);
    return Published(lvps_publish_document(name.c_str()), LV_REGISTRY_DOCNAME, name);
}

int RemoveDocumentName()
{
    LvpsStatus status = lvps_remove_document();
    if (status != LVPS_OK)
        return Fail(ExitFailure, "cannot remove HKEY_CLASSES_ROOT\\%s\\%s (%s)", LV_REGISTRY_DOCUMENT_KEY,
                    LV_REGISTRY_DOCNAME, lvps_status_text(status));
    PrintLine("HKEY_CLASSES_ROOT\\%s\\%s removed", LV_REGISTRY_DOCUMENT_KEY, LV_REGISTRY_DOCNAME);
    return ExitOk;
}

int PublishPrinterName(const std::string& name)
{
    if (name.size() < 2 || name.size() > LVPS_PRINTER_NAME_MAX)
        return Fail(ExitUsage, "printer: 2 to %d characters, what the monitor can read", LVPS_PRINTER_NAME_MAX);
    return Published(lvps_publish_printer(name.c_str()), LV_REGISTRY_PRINTER_SUBKEY, name);
}
