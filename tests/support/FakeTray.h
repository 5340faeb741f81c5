// A notification area that holds the icon, or refuses it until told
// otherwise, and remembers the tips it was given.
#pragma once

#include <string>

#include "ui/Tray.h"

namespace bastion::testing {

class FakeTray final : public ui::Tray {
public:
    void ShowIcon(const std::string& tip) override {
        running_ = true;
        this->tip = tip;
        SetPresent(shellAccepts);
    }
    void RemoveIcon() override {
        running_ = false;
        present_ = false;
        ++removals;
    }
    void ChangeToolTip(const std::string& text) override {
        if (running_) tip = text;
    }
    bool bRunningInTray() const override { return running_; }
    bool IconPresent() const override { return present_; }

    // The shell comes or goes (a retried add that succeeds, Explorer
    // restarted and refusing the new add).
    void SetPresent(bool present) {
        if (present == present_) return;
        present_ = present;
        if (onPresence) onPresence(present);
    }
    void User(ui::TrayEvent event) {
        if (onEvent) onEvent(event);
    }

    bool shellAccepts = true;
    std::string tip;
    int removals = 0;

private:
    bool running_ = false;
    bool present_ = false;
};

}  // namespace bastion::testing
