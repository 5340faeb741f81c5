#include "ui/win32/NativeControl.h"

#include "platform/win32/WideText.h"
#include "ui/win32/Theme.h"

namespace bastion::win32 {

bool NativeControl::Create(ControlHost& host, HWND parent, int id, COLORREF background) {
    host_ = &host;
    id_ = id;
    background_ = background;
    hwnd_ = CreateNative(parent, id);
    if (!hwnd_) return false;
    ApplyFonts();
    SyncIfChanged(true);
    return true;
}

void NativeControl::SyncIfChanged(bool force) {
    if (!hwnd_ || !::IsWindow(hwnd_)) return;
    const std::uint64_t stamp = Stamp();
    if (!force && everSynced_ && stamp == synced_) return;
    synced_ = stamp;
    everSynced_ = true;
    Sync();
}

void NativeControl::SetBounds(const ui::Rect& bounds) {
    if (!hwnd_) return;
    ::SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeControl::ApplyFonts() {
    if (hwnd_) ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(host_->Fonts().Get(Font())), TRUE);
}

HBRUSH NativeControl::OnColor(HDC dc) {
    ::SetTextColor(dc, model_->Enabled() ? theme::kText : theme::kDisabledText);
    ::SetBkColor(dc, background_);
    return host_->Brush(background_);
}

HWND NativeControl::MakeChild(HWND parent, int id, const wchar_t* className, DWORD style, DWORD exStyle) {
    return ::CreateWindowExW(exStyle, className, L"", style | WS_CHILD, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

void NativeControl::SyncState() {
    const bool enabled = model_->Enabled();
    if ((::IsWindowEnabled(hwnd_) != FALSE) != enabled) ::EnableWindow(hwnd_, enabled);
    const bool visible = model_->Visible();
    const bool shown = (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void NativeControl::SetText(const std::string& text) {
    const std::wstring wide = Widen(text);
    const int length = ::GetWindowTextLengthW(hwnd_);
    if (length == static_cast<int>(wide.size())) {
        std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
        ::GetWindowTextW(hwnd_, current.data(), length + 1);
        current.resize(static_cast<std::size_t>(length));
        if (current == wide) return;
    }
    ::SetWindowTextW(hwnd_, wide.c_str());
}

}  // namespace bastion::win32
