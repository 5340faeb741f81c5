#include "ui/win32/MenuBar.h"

#include <algorithm>

#include "platform/win32/WideText.h"
#include "ui/layout/Geometry.h"
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
    const bool bar = &items == &topLevel_;
    for (ui::MenuItem* item : items) {
        if (!item->Visible()) continue;
        if (item->IsSeparator()) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring caption = Widen(item->Caption());
        HMENU popup = nullptr;
        if (!item->children.empty()) {
            popup = ::CreatePopupMenu();
            AppendItems(popup, item->children);
        }
        const auto index = std::find(all_.begin(), all_.end(), item) - all_.begin();
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE | MIIM_DATA | (popup ? MIIM_SUBMENU : MIIM_ID);
        info.fType = bar ? MFT_OWNERDRAW : MFT_STRING;
        info.fState = (item->Enabled() ? 0u : MFS_GRAYED) | (item->Checked() ? MFS_CHECKED : 0u);
        info.wID = static_cast<UINT>(kFirstCommand + index);
        info.hSubMenu = popup;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        info.dwTypeData = caption.data();
        info.cch = static_cast<UINT>(caption.size());
        if (!::InsertMenuItemW(menu, static_cast<UINT>(::GetMenuItemCount(menu)), TRUE, &info) && popup) {
            ::DestroyMenu(popup);
        }
    }
}

const ui::MenuItem* MenuBar::BarItem(UINT controlType, ULONG_PTR itemData) const {
    if (controlType != ODT_MENU) return nullptr;
    for (const ui::MenuItem* item : topLevel_) {
        if (reinterpret_cast<ULONG_PTR>(item) == itemData) return item;
    }
    return nullptr;
}

bool MenuBar::Measure(MEASUREITEMSTRUCT& measure, const UiFonts& fonts) const {
    const ui::MenuItem* item = BarItem(measure.CtlType, measure.itemData);
    if (!item) return false;
    RECT text{};
    if (HDC screen = ::GetDC(nullptr)) {
        HGDIOBJ old = ::SelectObject(screen, fonts.Get(FontRole::Normal));
        const std::wstring caption = Widen(item->Caption());
        ::DrawTextW(screen, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_CALCRECT);
        ::SelectObject(screen, old);
        ::ReleaseDC(nullptr, screen);
    }
    measure.itemWidth = static_cast<UINT>(text.right - text.left + ui::Scale(kItemPadding, fonts.Dpi()));
    measure.itemHeight = static_cast<UINT>(text.bottom - text.top + ui::Scale(kItemPadding, fonts.Dpi()) / 2);
    return true;
}

bool MenuBar::Draw(const DRAWITEMSTRUCT& draw, const UiFonts& fonts) const {
    const ui::MenuItem* item = BarItem(draw.CtlType, draw.itemData);
    if (!item) return false;
    BOOL flat = FALSE;
    ::SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
    const bool open = (draw.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    const bool grayed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const int background = open ? (flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT) : (flat ? COLOR_MENUBAR : COLOR_MENU);
    ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(background));
    const int text = grayed ? COLOR_GRAYTEXT : open ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
    const COLORREF oldColour = ::SetTextColor(draw.hDC, ::GetSysColor(text));
    const int oldMode = ::SetBkMode(draw.hDC, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(draw.hDC, fonts.Get(FontRole::Normal));
    // The bar's height is the system's, for the dpi it knows: where that is
    // less than the window's (Wine keeps the dpi it started with), the text
    // takes the largest size the bar holds whole, accents and descenders.
    UniqueGdiObject fitted;
    TEXTMETRICW metrics{};
    const LONG barHeight = draw.rcItem.bottom - draw.rcItem.top;
    if (::GetTextMetricsW(draw.hDC, &metrics) && metrics.tmHeight > barHeight) {
        LOGFONTW font{};
        ::GetObjectW(fonts.Get(FontRole::Normal), sizeof(font), &font);
        font.lfHeight = barHeight;  // positive: the whole cell
        fitted.Reset(::CreateFontIndirectW(&font));
        if (fitted) ::SelectObject(draw.hDC, fitted.Get());
    }
    RECT area = draw.rcItem;
    const std::wstring caption = Widen(item->Caption());
    // The access keys show only once the keyboard is in use, as elsewhere.
    const UINT prefix = (draw.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0u;
    ::DrawTextW(draw.hDC, caption.c_str(), static_cast<int>(caption.size()), &area,
                DT_SINGLELINE | DT_CENTER | DT_VCENTER | prefix);
    ::SelectObject(draw.hDC, oldFont);
    ::SetBkMode(draw.hDC, oldMode);
    ::SetTextColor(draw.hDC, oldColour);
    return true;
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
