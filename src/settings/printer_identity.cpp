// The names the print side publishes: the printer (with win.ini's default
// printer as fallback) and the document being printed.
#include "settings/app_settings.h"

#include <stdio.h>
#include <string.h>

#include "protocol/lvwm_messages.h"

// Closes a key of the print side on every way out.
class RegistryKey {
public:
    RegistryKey(HKEY parent, const char* name)
    {
        opened_ = parent && RegOpenKeyA(parent, name, &key_) == ERROR_SUCCESS;
    }
    ~RegistryKey() { if (opened_) RegCloseKey(key_); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Handle() const { return opened_ ? key_ : nullptr; }

    // Reads the default value of `subkey`; false when missing or too long.
    bool Read(const char* subkey, char* target, LONG size)
    {
        if (!opened_)
            return false;
        LONG length = size;
        if (RegQueryValueA(key_, subkey, target, &length) != ERROR_SUCCESS)
            return false;
        // A value stored without its NUL still ends where the read ended.
        target[length >= 0 && length < size ? length : size - 1] = '\0';
        lastLength_ = length;
        return true;
    }

    // Bytes of the largest value under the key, in the form the system
    // stores (two bytes a character on NT); 0 when it cannot be asked.
    DWORD LargestValueSize() const
    {
        DWORD largest = 0;
        if (!opened_ || RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, &largest, nullptr, nullptr) != ERROR_SUCCESS)
            return 0;
        return largest;
    }

    LONG LastLength() const { return lastLength_; }

private:
    HKEY key_ = nullptr;
    bool opened_ = false;
    LONG lastLength_ = 0;
};

// Builds "DeviceName\Status\Monitor" from the words of the section name.
static void PrinterSubkey(char* subkey, size_t size)
{
    char words[kPrinterNameSize];
    lstrcpynA(words, kStatusMonitor, sizeof words);
    lstrcpynA(subkey, "DeviceName", static_cast<int>(size));
    for (char* word = strtok(words, " ,\t\n"); word; word = strtok(nullptr, " ,\t\n")) {
        size_t used = strlen(subkey);
        snprintf(subkey + used, size - used, "\\%s", word);
    }
}

int PrinterIdentity(char* out)
{
    char subkey[kPrinterNameSize];
    char name[kPrinterNameSize];
    PrinterSubkey(subkey, sizeof subkey);

    RegistryKey key(HKEY_CLASSES_ROOT, LV_REGISTRY_DOCUMENT_KEY);
    // A name shorter than two characters is no name: use the default printer.
    if (!key.Read(subkey, name, sizeof name) || key.LastLength() < 3) {
        GetProfileStringA("windows", "device", "", name, sizeof name);
        name[strcspn(name, ",\n")] = '\0';
    }
    lstrcpynA(out, name, kPrinterNameSize);
    return 1;
}

void ReadDocumentName(char* out, size_t size)
{
    out[0] = '\0';
    RegistryKey document(HKEY_CLASSES_ROOT, LV_REGISTRY_DOCUMENT_KEY);
    RegistryKey name(document.Handle(), LV_REGISTRY_DOCNAME);
    // The system copies a whole string value to convert it, however little
    // the caller asks for: a name that cannot fit the read buffer in either
    // stored form is refused before it is read.
    DWORD stored = name.LargestValueSize();
    char whole[kDocumentNameReadSize];
    if (stored == 0 || stored > 2 * sizeof whole || !name.Read(nullptr, whole, sizeof whole))
        return;
    // Longer than the panel's buffer: show its beginning rather than nothing.
    lstrcpynA(out, whole, static_cast<int>(size));
}
