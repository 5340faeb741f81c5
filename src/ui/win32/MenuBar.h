// The menu bar of a form window, built from the form's top-level menu
// items (those that are no other item's child) and their children; a "-"
// caption is a separator. Rebuilt when any item changed; a command of the
// bar runs the item's Click.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32/WindowsApi.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

namespace bastion::win32 {

class MenuBar {
public:
    // Command numbers of menu items start here, apart from control ids.
    static constexpr int kFirstCommand = 40000;

    explicit MenuBar(const ui::Form& form);
    bool Empty() const { return topLevel_.empty(); }

    // Gives the window the bar when an item changed since the last time.
    void SyncIfChanged(HWND window);
    // The item of a command number, or nullptr.
    ui::MenuItem* ItemOfCommand(int command) const;

private:
    std::uint64_t Stamp() const;
    void AppendItems(HMENU menu, const std::vector<ui::MenuItem*>& items);

    std::vector<ui::MenuItem*> all_;
    std::vector<ui::MenuItem*> topLevel_;
    std::uint64_t synced_ = 0;
    bool everSynced_ = false;
};

}  // namespace bastion::win32
