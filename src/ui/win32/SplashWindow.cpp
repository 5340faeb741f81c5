#include "ui/win32/SplashWindow.h"

#include <algorithm>

#include "platform/win32/WideText.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

namespace {
constexpr int kWidth = 460;
constexpr int kHeight = 236;
constexpr int kBandHeight = 132;
constexpr int kIconSize = 48;
constexpr int kMargin = 28;
constexpr int kBarHeight = 3;
// The count the bar is full at: the splash hands over after 75 ticks of 2.
constexpr int kFullCount = 150;
}  // namespace

SplashWindow::SplashWindow(ui::FrmSplash& form) : FormWindow(form), splash_(form) {
    // The main window follows at the end of the count; closing the splash
    // before that would leave a program with no window at all.
    onClose = [] {};
}

SplashWindow::~SplashWindow() { Destroy(); }

bool SplashWindow::Create() {
    FormWindowOptions options;
    options.className = L"BastionSplash";
    options.width = kWidth;
    options.height = kHeight;
    options.minWidth = kWidth;
    options.minHeight = kHeight;
    options.style = WS_POPUP | WS_BORDER;
    options.exStyle = WS_EX_TOOLWINDOW;
    options.centered = true;
    return FormWindow::Create(options);
}

void SplashWindow::DrawText(HDC dc, const std::string& text, RECT area, FontRole font, COLORREF colour) {
    const std::wstring wide = Widen(text);
    SelectedObject selected(dc, Fonts().Get(font));
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_TOP);
}

void SplashWindow::PaintBackground(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, Brush(theme::kContent));
    RECT band{client.left, client.top, client.right, client.top + S(kBandHeight)};
    ::FillRect(dc, &band, Brush(theme::kHeader));
    ::SetBkMode(dc, TRANSPARENT);

    const int iconSize = S(kIconSize);
    if (!icon_ || iconSize_ != iconSize) {
        icon_.Reset(static_cast<HICON>(
            ::LoadImageW(::GetModuleHandleW(nullptr), L"AAA", IMAGE_ICON, iconSize, iconSize, 0)));
        iconSize_ = iconSize;
    }
    const int left = S(kMargin);
    const int iconTop = band.top + (S(kBandHeight) - iconSize) / 2;
    if (icon_) ::DrawIconEx(dc, left, iconTop, icon_.Get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);

    const int textLeft = left + iconSize + S(16);
    DrawText(dc, splash_.lblProductName.Caption(), {textLeft, iconTop - S(2), band.right - left, iconTop + S(30)},
             FontRole::Title, theme::kHeaderText);
    DrawText(dc, splash_.lblCompanyName.Caption(), {textLeft, iconTop + S(30), band.right - left, iconTop + S(52)},
             FontRole::Normal, theme::kHeaderSubtleText);

    const int bodyTop = band.bottom + S(22);
    DrawText(dc, splash_.lblVersion.Caption(), {left, bodyTop, client.right - left, bodyTop + S(20)},
             FontRole::Normal, theme::kSecondaryText);
    DrawText(dc, splash_.lblStarting.Caption(), {left, bodyTop + S(22), client.right - left, bodyTop + S(42)}, FontRole::Small,
             theme::kSecondaryText);

    // The count as a thin bar along the bottom edge.
    const int count = std::clamp<int>(splash_.Counter(), 0, kFullCount);
    RECT track{client.left, client.bottom - S(kBarHeight), client.right, client.bottom};
    ::FillRect(dc, &track, Brush(theme::kSeparator));
    RECT filled = track;
    filled.right = track.left + static_cast<int>(static_cast<long long>(track.right - track.left) * count / kFullCount);
    ::FillRect(dc, &filled, Brush(theme::kAccent));
}

void SplashWindow::AfterSync() {
    std::uint64_t captions = 0;
    for (const ui::Label* label :
         {&splash_.lblProductName, &splash_.lblCompanyName, &splash_.lblVersion, &splash_.lblStarting}) {
        captions += label->ChangeCount();
    }
    if (captions != paintedCaptions_) {
        ::InvalidateRect(Hwnd(), nullptr, FALSE);
    } else if (splash_.Counter() != paintedCounter_) {
        // Only the bar moves.
        RECT bar;
        ::GetClientRect(Hwnd(), &bar);
        bar.top = bar.bottom - S(kBarHeight);
        ::InvalidateRect(Hwnd(), &bar, FALSE);
    }
    paintedCaptions_ = captions;
    paintedCounter_ = splash_.Counter();
}

}  // namespace bastion::win32
