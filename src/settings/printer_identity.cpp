#include "settings/printer_identity.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "lumeview/protocol.h"

// Bytes the default value of `key` takes as stored, two a character on NT;
// 0 when there is none. Only the size is asked: the ANSI call, even without
// a buffer, copies a whole string value to convert it.
static DWORD StoredDefaultValueSize(HKEY key)
{
    typedef LONG(WINAPI * QueryWide)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    static QueryWide queryWide = reinterpret_cast<QueryWide>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegQueryValueExW")));
    DWORD size = 0;
    LONG result = queryWide ? queryWide(key, nullptr, nullptr, nullptr, nullptr, &size) : ERROR_CALL_NOT_IMPLEMENTED;
    // The Windows 95 family stores ANSI and has the wide call as a stub only.
    if (result == ERROR_CALL_NOT_IMPLEMENTED) {
        size = 0;
        result = RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, &size);
    }
    return result == ERROR_SUCCESS ? size : 0;
}

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

    // Reads the key's default value into `target`, with the length read
    // (its NUL counted) in `length`; false when missing, or when it cannot
    // fit `size` bytes in either stored form, which is refused before the
    // system copies it.
    bool ReadDefault(char* target, LONG size, LONG* length)
    {
        if (!opened_)
            return false;
        DWORD stored = StoredDefaultValueSize(key_);
        if (stored == 0 || stored > 2 * static_cast<DWORD>(size))
            return false;
        *length = size;
        if (RegQueryValueA(key_, nullptr, target, length) != ERROR_SUCCESS)
            return false;
        // A value stored without its NUL still ends where the read ended.
        target[*length >= 0 && *length < size ? *length : size - 1] = '\0';
        return true;
    }

private:
    HKEY key_ = nullptr;
    bool opened_ = false;
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

    RegistryKey document(HKEY_CLASSES_ROOT, LV_REGISTRY_DOCUMENT_KEY);
    RegistryKey printer(document.Handle(), subkey);
    LONG length = 0;
    // A name shorter than two characters is no name: use the default printer.
    if (!printer.ReadDefault(name, sizeof name, &length) || length < 3) {
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
    char whole[kDocumentNameReadSize];
    LONG length = 0;
    if (!name.ReadDefault(whole, sizeof whole, &length))
        return;
    // Longer than the panel's buffer: show its beginning rather than nothing.
    lstrcpynA(out, whole, static_cast<int>(size));
}
