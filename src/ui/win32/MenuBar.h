// The menu bar of a form window, built from the form's top-level menu
// items (those that are no other item's child) and their children; a "-"
// caption is a separator. Rebuilt when any item changed; a command of the
// bar runs the item's Click.
//
// The bar's own items are drawn by the window in its fonts, so that the bar
// grows with the window's dpi as everything else does (the system draws
// them in its font of the dpi it started with); they keep their text for
// the keyboard and for whoever reads the menu.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/WindowsApi.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/win32/UiFonts.h"

namespace bastion::win32 {

class MenuBar {
public:
    // Command numbers of menu items start here, apart from control ids.
    static constexpr int kFirstCommand = 40000;
    // Room around a bar item's text, in layout units.
    static constexpr int kItemPadding = 8;

    explicit MenuBar(const ui::Form& form);
    bool Empty() const { return topLevel_.empty(); }

    // Gives the window the bar when an item changed since the last time.
    void SyncIfChanged(HWND window);
    // The next sync builds the bar afresh: its items are measured again
    // (after a change of dpi).
    void Invalidate() { everSynced_ = false; }
    // WM_MEASUREITEM and WM_DRAWITEM of the bar's items; false for anything
    // else.
    bool Measure(MEASUREITEMSTRUCT& measure, const UiFonts& fonts) const;
    bool Draw(const DRAWITEMSTRUCT& draw, const UiFonts& fonts) const;
    // The item of a command number, or nullptr.
    ui::MenuItem* ItemOfCommand(int command) const;

private:
    std::uint64_t Stamp() const;
    void AppendItems(HMENU menu, const std::vector<ui::MenuItem*>& items);
    // The bar's own item a measure or draw is about, or nullptr.
    const ui::MenuItem* BarItem(UINT controlType, ULONG_PTR itemData) const;

    std::vector<ui::MenuItem*> all_;
    std::vector<ui::MenuItem*> topLevel_;
    std::uint64_t synced_ = 0;
    bool everSynced_ = false;
};

}  // namespace bastion::win32
