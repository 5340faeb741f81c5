#include "ui/win32/ButtonControls.h"

#include "platform/win32/WideText.h"

namespace bastion::win32 {

// --- command buttons ---------------------------------------------------------

HWND CommandButtonControl::CreateNative(HWND parent, int id) {
    HWND button = MakeChild(parent, id, L"BUTTON", BS_OWNERDRAW | WS_TABSTOP);
    if (button) {
        hover_.onChange = [button] { ::InvalidateRect(button, nullptr, FALSE); };
        hover_.Attach(button, look_ == ButtonLook::Link);
    }
    return button;
}

std::uint64_t CommandButtonControl::Stamp() const {
    // The counter of the page decides the selection mark; both counters
    // only grow, so their sum moves whenever either does.
    return model_.ChangeCount() + (page_ ? page_->ChangeCount() : 0);
}

void CommandButtonControl::Sync() {
    SetText(model_.Caption());
    SyncState();
    ::InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CommandButtonControl::OnCommand(WORD code) {
    if (code == BN_CLICKED && model_.Enabled()) model_.Click();
}

bool CommandButtonControl::OnDrawItem(const DRAWITEMSTRUCT& item) {
    ButtonState state;
    state.enabled = (item.itemState & ODS_DISABLED) == 0;
    state.pressed = (item.itemState & ODS_SELECTED) != 0;
    state.focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
    state.hovering = hover_.Hovering();
    state.selected = Selected();
    DrawButtonFace(item.hDC, item.rcItem, look_, state, Widen(model_.Caption()), Background(), Host().Fonts());
    return true;
}

// --- check boxes -------------------------------------------------------------

HWND CheckBoxControl::CreateNative(HWND parent, int id) {
    return MakeChild(parent, id, L"BUTTON", BS_3STATE | BS_MULTILINE | WS_TABSTOP);
}

void CheckBoxControl::Sync() {
    SetText(model_.Caption());
    const WPARAM check = model_.Value() == ui::kChecked  ? BST_CHECKED
                         : model_.Value() == ui::kGrayed ? BST_INDETERMINATE
                                                         : BST_UNCHECKED;
    ::SendMessageW(Hwnd(), BM_SETCHECK, check, 0);
    SyncState();
}

void CheckBoxControl::OnCommand(WORD code) {
    if (code == BN_CLICKED && model_.Enabled()) model_.Click();
}

// --- option buttons ----------------------------------------------------------

HWND OptionButtonControl::CreateNative(HWND parent, int id) {
    return MakeChild(parent, id, L"BUTTON", BS_RADIOBUTTON | BS_MULTILINE | WS_TABSTOP);
}

void OptionButtonControl::Sync() {
    SetText(model_.Caption());
    ::SendMessageW(Hwnd(), BM_SETCHECK, model_.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
    SyncState();
}

void OptionButtonControl::OnCommand(WORD code) {
    if (code == BN_CLICKED && model_.Enabled()) model_.Click();
}

}  // namespace bastion::win32
