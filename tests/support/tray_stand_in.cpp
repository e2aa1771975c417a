#include "tray_stand_in.h"

#include <shellapi.h>

#include <chrono>

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

static std::wstring Bounded(const WCHAR* text, size_t size)
{
    size_t length = 0;
    while (length < size && text[length])
        ++length;
    return std::wstring(text, length);
}

TrayStandIn::TrayStandIn(int refusedAdds) : refusedAdds_(refusedAdds)
{
    std::unique_lock<std::mutex> lock(mutex_);
    thread_ = std::thread(&TrayStandIn::Run, this);
    changed_.wait_for(lock, std::chrono::seconds(5), [this] { return window_ != nullptr; });
}

TrayStandIn::~TrayStandIn()
{
    if (window_)
        PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void TrayStandIn::Run()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("Shell_TrayWnd", "tray stand-in", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                windowClass.hInstance, this);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        window_ = window;
    }
    changed_.notify_all();
    if (!window)
        return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
}

LRESULT CALLBACK TrayStandIn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TrayStandIn*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && self)
        return self->Record(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TrayStandIn::Record(const COPYDATASTRUCT& copy)
{
    if (copy.cbData < sizeof(WineNotifyData))
        return FALSE;
    const auto* data = static_cast<const WineNotifyData*>(copy.lpData);
    TrayCall call = {static_cast<DWORD>(copy.dwData), reinterpret_cast<HWND>(static_cast<LONG_PTR>(data->window)),
                     data->id, data->flags, data->callbackMessage, Bounded(data->tip, 128),
                     Bounded(data->info, 256), Bounded(data->infoTitle, 64), data->infoFlags, {}};
    const BYTE* bits = static_cast<const BYTE*>(copy.lpData) + sizeof(WineNotifyData);
    call.iconBits.assign(bits, bits + (copy.cbData - sizeof(WineNotifyData)));
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(call);
    changed_.notify_all();
    if (call.action == NIM_ADD && refusedAdds_ > 0) {
        --refusedAdds_;
        return FALSE;
    }
    return TRUE;
}

bool TrayStandIn::WaitForCalls(size_t count, DWORD timeoutMs)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return calls_.size() >= count; });
}

std::vector<TrayCall> TrayStandIn::Calls()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

void TrayStandIn::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
}

std::vector<BYTE> SmallIconBits(const std::string& exePath, int iconId)
{
    std::vector<BYTE> bits;
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
            std::vector<BYTE> part((shape.bmPlanes * shape.bmWidth * shape.bmHeight * shape.bmBitsPixel + 15) / 16 * 2);
            GetBitmapBits(bitmap, static_cast<LONG>(part.size()), part.data());
            bits.insert(bits.end(), part.begin(), part.end());
            DeleteObject(bitmap);
        }
    }
    if (icon)
        DestroyIcon(icon);
    if (module)
        FreeLibrary(module);
    return bits;
}
