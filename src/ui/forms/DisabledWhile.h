// Controls disabled for as long as the object lives, each enabled again as
// it was: the control that started a request cannot start a second one
// while the first runs.
#pragma once

#include <vector>

#include "ui/forms/Control.h"

namespace bastion::ui {

class DisabledWhile {
public:
    explicit DisabledWhile(std::vector<Control*> controls) : controls_(std::move(controls)) {
        for (Control* control : controls_) {
            wasEnabled_.push_back(control->Enabled());
            control->SetEnabled(false);
        }
    }
    ~DisabledWhile() {
        for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->SetEnabled(wasEnabled_[i]);
    }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    std::vector<Control*> controls_;
    std::vector<bool> wasEnabled_;
};

}  // namespace bastion::ui
