#include "print_side_registry.h"

#include <windows.h>

#include "lvwm_messages.h"
#include "output.h"

namespace {

// The Document key, created when missing; closed on every path.
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
int PublishDefaultValue(const char* subkey, const std::string& text)
{
    DocumentKey key;
    if (key.get() == nullptr)
        return Fail(ExitFailure, "cannot open HKEY_CLASSES_ROOT\\%s", LV_REGISTRY_DOCUMENT_KEY);
    LONG result = RegSetValueA(key.get(), subkey, REG_SZ, text.c_str(), static_cast<DWORD>(text.size()));
    if (result != ERROR_SUCCESS)
        return Fail(ExitFailure, "cannot write HKEY_CLASSES_ROOT\\%s\\%s (error %ld)",
                    LV_REGISTRY_DOCUMENT_KEY, subkey, result);
    PrintLine("HKEY_CLASSES_ROOT\\%s\\%s = %s", LV_REGISTRY_DOCUMENT_KEY, subkey,
              Quoted(Utf8FromCp1252(text)).c_str());
    return ExitOk;
}

}  // namespace

int PublishDocumentName(const std::string& name)
{
    return PublishDefaultValue(LV_REGISTRY_DOCNAME, name);
}

int RemoveDocumentName()
{
    DocumentKey key;
    if (key.get() == nullptr)
        return Fail(ExitFailure, "cannot open HKEY_CLASSES_ROOT\\%s", LV_REGISTRY_DOCUMENT_KEY);
    LONG result = RegDeleteKeyA(key.get(), LV_REGISTRY_DOCNAME);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        return Fail(ExitFailure, "cannot remove HKEY_CLASSES_ROOT\\%s\\%s (error %ld)",
                    LV_REGISTRY_DOCUMENT_KEY, LV_REGISTRY_DOCNAME, result);
    PrintLine("HKEY_CLASSES_ROOT\\%s\\%s removed", LV_REGISTRY_DOCUMENT_KEY, LV_REGISTRY_DOCNAME);
    return ExitOk;
}

int PublishPrinterName(const std::string& name)
{
    return PublishDefaultValue(LV_REGISTRY_PRINTER_SUBKEY, name);
}
