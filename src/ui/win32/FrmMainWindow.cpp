#include "ui/win32/FrmMainWindow.h"

#include "platform/win32/WideText.h"
#include "ui/layout/MainWindowFrame.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kClientWidth = 960;
constexpr int kClientHeight = 660;
constexpr int kHeaderIconSize = 32;
}  // namespace

FrmMainWindow::FrmMainWindow(ui::FrmMain& form, std::string productName)
    : FormWindow(form), main_(form), productName_(std::move(productName)) {}

FrmMainWindow::~FrmMainWindow() {
    // The controls of this window go before its members do.
    Destroy();
}

void FrmMainWindow::LoadIcons() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    largeIcon_ = static_cast<HICON>(::LoadImageW(instance, L"AAA", IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                 ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    smallIcon_ = static_cast<HICON>(::LoadImageW(instance, L"AAA", IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

bool FrmMainWindow::Create() {
    LoadIcons();
    FormWindowOptions options;
    options.className = L"BastionMainWindow";
    options.width = kClientWidth;
    options.height = kClientHeight;
    options.minWidth = 800;
    options.minHeight = 600;
    options.icon = largeIcon_;
    options.smallIcon = smallIcon_;
    options.quitOnDestroy = true;
    if (!FormWindow::Create(options)) return false;
    if (largeIcon_) ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    if (smallIcon_) ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    return true;
}

void FrmMainWindow::PaintBackground(HDC dc, const RECT& client) {
    const ui::MainFrame frame =
        ui::ComputeMainFrame(client.right, client.bottom, Dpi(), ui::WebsiteKeepsWidth(productName_));
    auto fill = [&](const ui::Rect& area, COLORREF colour) {
        RECT rect{area.left, area.top, area.right, area.bottom};
        ::FillRect(dc, &rect, Brush(colour));
    };
    fill(frame.content, theme::kContent);
    fill(frame.header, theme::kHeader);
    fill(frame.footer, theme::kNav);
    fill({frame.footer.left, frame.footer.top, frame.footer.right, frame.footer.top + 1}, theme::kSeparator);
    fill({frame.nav.right - 1, frame.nav.top, frame.nav.right, frame.nav.bottom}, theme::kSeparator);

    const int iconSize = S(kHeaderIconSize);
    const int iconLeft = S(20);
    if (!headerIcon_) {
        headerIcon_.Reset(static_cast<HICON>(
            ::LoadImageW(::GetModuleHandleW(nullptr), L"AAA", IMAGE_ICON, iconSize, iconSize, 0)));
    }
    if (headerIcon_) {
        ::DrawIconEx(dc, iconLeft, frame.header.top + (frame.header.Height() - iconSize) / 2, headerIcon_.Get(),
                     iconSize, iconSize, 0, nullptr, DI_NORMAL);
    }
    const std::wstring product = Widen(productName_);
    RECT text{iconLeft + iconSize + S(12), frame.header.top, frame.header.right - S(64), frame.header.bottom};
    SelectedObject font(dc, Fonts().Get(FontRole::Title));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, theme::kHeaderText);
    ::DrawTextW(dc, product.c_str(), static_cast<int>(product.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void FrmMainWindow::KeepOnScreen() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(Hwnd(), &placement) || placement.showCmd == SW_SHOWMINIMIZED) return;
    RECT window;
    ::GetWindowRect(Hwnd(), &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& screen = monitor.rcMonitor;
    const auto moved = ui::PulledOntoScreen({window.left, window.top, window.right, window.bottom},
                                            {screen.left, screen.top, screen.right, screen.bottom}, Dpi(),
                                            ::IsZoomed(Hwnd()) != FALSE);
    if (moved) {
        ::SetWindowPos(Hwnd(), nullptr, moved->x, moved->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT FrmMainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            const LRESULT result = FormWindow::HandleMessage(message, wParam, lParam);
            if (wParam == SIZE_RESTORED) KeepOnScreen();
            return result;
        }
        case WM_DPICHANGED:
            headerIcon_.Reset();
            return FormWindow::HandleMessage(message, wParam, lParam);
        default:
            return FormWindow::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace bastion::win32
