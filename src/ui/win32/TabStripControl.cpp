#include "ui/win32/TabStripControl.h"

#include "platform/win32/WideText.h"
#include "ui/win32/SolidBackground.h"

namespace bastion::win32 {

HWND TabStripControl::CreateNative(HWND parent, int id) {
    HWND tabs = MakeChild(parent, id, WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS | TCS_TABS | TCS_FOCUSNEVER);
    EraseWithColour(tabs, Background());
    return tabs;
}

void TabStripControl::Sync() {
    if (shownTabs_ != model_.Tabs()) {
        ::SendMessageW(Hwnd(), TCM_DELETEALLITEMS, 0, 0);
        int index = 0;
        for (const std::string& caption : model_.Tabs()) {
            std::wstring text = Widen(caption);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            ::SendMessageW(Hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
        }
        shownTabs_ = model_.Tabs();
    }
    if (::SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0) != model_.Selected()) {
        ::SendMessageW(Hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(model_.Selected()), 0);
    }
    SyncState();
}

bool TabStripControl::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.code != TCN_SELCHANGE) return false;
    model_.Select(static_cast<int>(::SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0)));
    result = 0;
    return true;
}

ui::Rect TabStripControl::DisplayArea(const ui::Rect& bounds) const {
    RECT area{bounds.left, bounds.top, bounds.right, bounds.bottom};
    if (Hwnd()) ::SendMessageW(Hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return {area.left, area.top, area.right, area.bottom};
}

}  // namespace bastion::win32
