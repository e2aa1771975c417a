#include "tray_stand_in.h"

// The record Wine's shell32 sends, followed by the icon's mask and colour bits.
struct WineNotifyData {
    LONG window;
    UINT id;
    UINT flags;
    UINT callbackMessage;
    WCHAR tip[128];
    DWORD state;
    DWORD stateMask;
    WCHAR info[256];
    UINT timeout;
    WCHAR infoTitle[64];
    DWORD infoFlags;
    GUID item;
    UINT width;
    UINT height;
    UINT planes;
    UINT bpp;
};

template <size_t size>
static std::wstring Bounded(const WCHAR (&text)[size])
{
    size_t length = 0;
    while (length < size && text[length])
        ++length;
    return std::wstring(text, length);
}

std::vector<TrayCall> TrayStandIn::Calls()
{
    std::vector<TrayCall> calls;
    for (const RecordedMessage& record : recorder_.Records()) {
        WineNotifyData data;
        if (!record.CopiedAs(&data))
            continue;
        calls.push_back({static_cast<DWORD>(record.copyTag), reinterpret_cast<HWND>(static_cast<LONG_PTR>(data.window)),
                         data.id, data.flags, data.callbackMessage, Bounded(data.tip), Bounded(data.info),
                         Bounded(data.infoTitle), data.infoFlags, record.copied.substr(sizeof data)});
    }
    return calls;
}

std::string SmallIconBits(const std::string& exePath, int iconId)
{
    std::string bits;
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HICON icon = module ? static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0))
                        : nullptr;
    ICONINFO info = {};
    if (icon && GetIconInfo(icon, &info)) {
        for (HBITMAP bitmap : {info.hbmMask, info.hbmColor}) {
            BITMAP shape = {};
            if (!bitmap || !GetObjectA(bitmap, sizeof shape, &shape))
                continue;
            std::string part((shape.bmPlanes * shape.bmWidth * shape.bmHeight * shape.bmBitsPixel + 15) / 16 * 2, '\0');
            GetBitmapBits(bitmap, static_cast<LONG>(part.size()), &part[0]);
            bits += part;
            DeleteObject(bitmap);
        }
    }
    if (icon)
        DestroyIcon(icon);
    if (module)
        FreeLibrary(module);
    return bits;
}
