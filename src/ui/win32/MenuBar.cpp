#include "ui/win32/MenuBar.h"

#include <algorithm>

#include "platform/win32/WideText.h"
#include "ui/win32/GdiObjects.h"

namespace bastion::win32 {

MenuBar::MenuBar(const ui::Form& form) {
    for (ui::Control* control : form.Controls()) {
        if (auto* item = dynamic_cast<ui::MenuItem*>(control)) all_.push_back(item);
    }
    for (ui::MenuItem* item : all_) {
        const bool isChild = std::any_of(all_.begin(), all_.end(), [item](const ui::MenuItem* other) {
            return std::find(other->children.begin(), other->children.end(), item) != other->children.end();
        });
        if (!isChild) topLevel_.push_back(item);
    }
}

std::uint64_t MenuBar::Stamp() const {
    std::uint64_t stamp = 0;
    for (const ui::MenuItem* item : all_) stamp += item->ChangeCount();
    return stamp;
}

ui::MenuItem* MenuBar::ItemOfCommand(int command) const {
    const int index = command - kFirstCommand;
    if (index < 0 || index >= static_cast<int>(all_.size())) return nullptr;
    return all_[static_cast<std::size_t>(index)];
}

void MenuBar::AppendItems(HMENU menu, const std::vector<ui::MenuItem*>& items) {
    for (ui::MenuItem* item : items) {
        if (!item->Visible()) continue;
        if (item->IsSeparator()) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::wstring caption = Widen(item->Caption());
        UINT flags = MF_STRING;
        if (!item->Enabled()) flags |= MF_GRAYED;
        if (item->Checked()) flags |= MF_CHECKED;
        if (!item->children.empty()) {
            HMENU popup = ::CreatePopupMenu();
            AppendItems(popup, item->children);
            ::AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
            continue;
        }
        const auto index = std::find(all_.begin(), all_.end(), item) - all_.begin();
        ::AppendMenuW(menu, flags, static_cast<UINT_PTR>(kFirstCommand + index), caption.c_str());
    }
}

void MenuBar::SyncIfChanged(HWND window) {
    if (topLevel_.empty() || !window) return;
    const std::uint64_t stamp = Stamp();
    if (everSynced_ && stamp == synced_) return;
    synced_ = stamp;
    everSynced_ = true;
    UniqueMenu bar(::CreateMenu());
    if (!bar) return;
    AppendItems(bar.Get(), topLevel_);
    HMENU old = ::GetMenu(window);
    if (::SetMenu(window, bar.Get())) {
        bar.Release();
        if (old) ::DestroyMenu(old);
    }
    ::DrawMenuBar(window);
}

}  // namespace bastion::win32
