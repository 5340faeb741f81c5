// Bastion.exe: for now the engine of one run (the app) and a window that
// shows the identity the program reads from its own version resource, and
// closes when the user closes it.
#include "platform/win32/WindowsApi.h"

#include <string>

#include "app/App.h"
#include "common/Utf.h"
#include "platform/win32/Win32Platform.h"
#include "ui/win32/IdentityFromVersionResource.h"
#include "ui/win32/Win32Dialogs.h"
#include "ui/win32/Win32EventPump.h"

namespace {

std::wstring Wide(const std::string& text) {
    std::u16string u16 = bastion::Utf8ToUtf16(text);
    return std::wstring(u16.begin(), u16.end());
}

struct Identity {
    std::wstring product;
    std::wstring details;
};

Identity Shown(const bastion::ui::Identity& identity) {
    return {Wide(identity.productName), Wide(identity.productName + " " + identity.VersionText() + "\n" +
                                             identity.companyName + "\n" + identity.website)};
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    bastion::win32::Win32Platform platform;
    bastion::win32::Win32Dialogs dialogs;
    bastion::win32::Win32EventPump pump;
    bastion::App app(platform.Get(), dialogs, pump, bastion::win32::ReadOwnIdentity());
    Identity identity = Shown(app.identity);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"BastionMainWindow";
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, L"AAA", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    if (!RegisterClassExW(&windowClass)) return 1;

    HWND window = CreateWindowExW(0, windowClass.lpszClassName, identity.product.c_str(), WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 480, 240, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    dialogs.SetOwner(window);
    HWND text = CreateWindowExW(0, L"STATIC", identity.details.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, 20, 40, 420,
                                100, window, nullptr, instance, nullptr);
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
