// The names the print side publishes: the printer (with win.ini's default
// printer as fallback) and the document being printed.
#include "app_settings.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "lvwm_messages.h"

// Closes the print side's key on every way out.
class DocumentKey {
public:
    DocumentKey() { opened_ = RegOpenKeyA(HKEY_CLASSES_ROOT, LV_REGISTRY_DOCUMENT_KEY, &key_) == ERROR_SUCCESS; }
    ~DocumentKey() { if (opened_) RegCloseKey(key_); }
    DocumentKey(const DocumentKey&) = delete;
    DocumentKey& operator=(const DocumentKey&) = delete;

    // Reads the default value of `subkey`; false when missing or too long.
    bool Read(const char* subkey, char* target, LONG size) const
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

    // Length of the value in bytes, counting its NUL; 0 when unreadable.
    LONG ValueSize(const char* subkey) const
    {
        LONG length = 0;
        if (!opened_ || RegQueryValueA(key_, subkey, nullptr, &length) != ERROR_SUCCESS)
            return 0;
        return length;
    }

    LONG LastLength() const { return lastLength_; }

private:
    HKEY key_ = nullptr;
    bool opened_ = false;
    mutable LONG lastLength_ = 0;
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

    DocumentKey key;
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
    DocumentKey key;
    if (key.Read(LV_REGISTRY_DOCNAME, out, static_cast<LONG>(size)))
        return;
    // Longer than the buffer: show its beginning rather than nothing.
    LONG needed = key.ValueSize(LV_REGISTRY_DOCNAME);
    if (needed <= static_cast<LONG>(size)) {
        out[0] = '\0';
        return;
    }
    std::vector<char> whole(static_cast<size_t>(needed) + 1, '\0');
    if (key.Read(LV_REGISTRY_DOCNAME, whole.data(), needed + 1))
        lstrcpynA(out, whole.data(), static_cast<int>(size));
    else
        out[0] = '\0';
}
