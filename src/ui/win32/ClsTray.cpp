#include "ui/win32/ClsTray.h"

#include <algorithm>
#include <cwchar>

#include "platform/win32/WideText.h"

namespace bastion::win32 {

namespace {

constexpr UINT_PTR kRetryTimerBase = 0x7A70;
constexpr UINT kRetryMs = 3000;

HICON IconOf(HWND window) {
    auto icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, GCLP_HICON));
    if (!icon) icon = ::LoadIconW(nullptr, IDI_APPLICATION);
    return icon;
}

}  // namespace

clsTray::clsTray(const Window& owner, UINT id)
    : owner_(owner), id_(id), taskbarCreated_(::RegisterWindowMessageW(L"TaskbarCreated")) {}

clsTray::~clsTray() {
    // No ghost icon after the program ended, whatever way it went.
    if (running_ || present_) RemoveIcon();
}

NOTIFYICONDATAW clsTray::Record(UINT flags) const {
    NOTIFYICONDATAW record{};
    record.cbSize = sizeof(record);
    record.hWnd = hwnd_;
    record.uID = id_;
    record.uFlags = flags;
    record.uCallbackMessage = kCallbackMessage;
    if (flags & NIF_ICON) record.hIcon = IconOf(hwnd_);
    const std::size_t length = std::min(tip_.size(), std::size(record.szTip) - 1);
    std::wmemcpy(record.szTip, tip_.data(), length);
    record.szTip[length] = L'\0';
    return record;
}

bool clsTray::Add() {
    NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    // An icon the shell still holds (an add repeated) is brought up to date.
    const bool added = ::Shell_NotifyIconW(NIM_ADD, &record) || ::Shell_NotifyIconW(NIM_MODIFY, &record);
    if (!added) return false;
    // After every add: the shell forgets the version with the icon.
    record.uVersion = NOTIFYICON_VERSION_4;
    version4_ = ::Shell_NotifyIconW(NIM_SETVERSION, &record) != FALSE;
    return true;
}

void clsTray::SetPresent(bool present) {
    const UINT_PTR timer = kRetryTimerBase + id_;
    if (present) {
        ::KillTimer(hwnd_, timer);
    } else if (running_) {
        ::SetTimer(hwnd_, timer, kRetryMs, nullptr);
    }
    if (present == present_) return;
    present_ = present;
    if (onPresence) onPresence(present);
}

void clsTray::ShowIcon(const std::string& tip) {
    hwnd_ = owner_.Hwnd();
    if (!hwnd_) return;
    tip_ = Widen(tip);
    running_ = true;
    // Explorer started after the program (a log-on) or restarted tells
    // every top-level window, also through the filter of an elevated run.
    ::ChangeWindowMessageFilterEx(hwnd_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    ::ChangeWindowMessageFilterEx(hwnd_, kCallbackMessage, MSGFLT_ALLOW, nullptr);
    SetPresent(Add());
}

void clsTray::RemoveIcon() {
    running_ = false;
    if (!hwnd_) return;
    ::KillTimer(hwnd_, kRetryTimerBase + id_);
    NOTIFYICONDATAW record = Record(0);
    ::Shell_NotifyIconW(NIM_DELETE, &record);
    present_ = false;
    tip_.clear();
}

void clsTray::ChangeToolTip(const std::string& text) {
    if (!running_) return;
    tip_ = Widen(text);
    if (!present_) return;  // the next add carries it
    NOTIFYICONDATAW record = Record(NIF_TIP | NIF_SHOWTIP);
    ::Shell_NotifyIconW(NIM_MODIFY, &record);
}

void clsTray::Event(UINT notification) {
    if (!onEvent) return;
    switch (notification) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            onEvent(ui::TrayEvent::Select);
            break;
        case WM_CONTEXTMENU:
        case NIN_KEYSELECT:
            onEvent(ui::TrayEvent::KeySelect);
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            onEvent(ui::TrayEvent::DoubleClick);
            break;
        default:
            break;
    }
}

bool clsTray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCallbackMessage) {
        // Version 4: the notification and the id in lParam; before it, the
        // id in wParam and the mouse message in lParam.
        const UINT id = version4_ ? HIWORD(lParam) : static_cast<UINT>(wParam);
        if (id != id_) return false;
        Event(version4_ ? LOWORD(lParam) : static_cast<UINT>(lParam));
        return true;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The new taskbar holds no icon of ours.
        if (running_) SetPresent(Add());
        return false;  // every icon of the window hears it
    }
    if (message == WM_TIMER && wParam == kRetryTimerBase + id_) {
        if (running_ && !present_) SetPresent(Add());
        if (!running_) ::KillTimer(hwnd_, wParam);
        return true;
    }
    return false;
}

}  // namespace bastion::win32
