// The names the print side publishes under
// HKEY_CLASSES_ROOT\PrinterService\StatusMonitor\Document.
#include "lvps.h"

#include "lvps_text.h"

namespace {

// The monitor reads a printer name of fewer than 2 characters as none.
const DWORD kShortestPrinterName = 2;

class DocumentKey {
public:
    DocumentKey()
    {
        if (RegCreateKeyA(HKEY_CLASSES_ROOT, LV_REGISTRY_DOCUMENT_KEY, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~DocumentKey()
    {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    DocumentKey(const DocumentKey&) = delete;
    DocumentKey& operator=(const DocumentKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The default value of a subkey, as the monitor reads it with RegQueryValueA.
LvpsStatus PublishDefaultValue(const char* subkey, const char* text)
{
    DocumentKey key;
    if (key.get() == nullptr)
        return LVPS_ERR_REGISTRY;
    if (RegSetValueA(key.get(), subkey, REG_SZ, text, static_cast<DWORD>(lstrlenA(text))) != ERROR_SUCCESS)
        return LVPS_ERR_REGISTRY;
    return LVPS_OK;
}

}  // namespace

extern "C" {

LvpsStatus lvps_publish_printer(const char* name)
{
    if (name == nullptr || !lvps::FitsIn(name, LVPS_PRINTER_NAME_MAX) ||
        lvps::FitsIn(name, kShortestPrinterName - 1))
        return LVPS_ERR_ARGUMENT;
    return PublishDefaultValue(LV_REGISTRY_PRINTER_SUBKEY, name);
}

LvpsStatus lvps_publish_document(const char* name)
{
    if (name == nullptr || !lvps::FitsIn(name, LVPS_DOCUMENT_NAME_MAX))
        return LVPS_ERR_ARGUMENT;
    return PublishDefaultValue(LV_REGISTRY_DOCNAME, name);
}

LvpsStatus lvps_remove_document(void)
{
    DocumentKey key;
    if (key.get() == nullptr)
        return LVPS_ERR_REGISTRY;
    LONG result = RegDeleteKeyA(key.get(), LV_REGISTRY_DOCNAME);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return LVPS_ERR_REGISTRY;
    return LVPS_OK;
}

}  // extern "C"
