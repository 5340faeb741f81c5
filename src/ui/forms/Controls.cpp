#include "ui/forms/Controls.h"

#include <utility>

namespace bastion::ui {

namespace {
// Assigns and reports whether the value changed.
template <typename T>
bool Assign(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    return true;
}
}  // namespace

void Label::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Touch();
}

void CommandButton::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Touch();
}

void Frame::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Touch();
}

void CheckBox::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Touch();
}

void CheckBox::SetValue(int value) {
    if (!Assign(value_, value)) return;
    Touch();
    if (onClick) onClick();
}

OptionButton::OptionButton(Form& form, std::string name, int index, OptionGroup* group)
    : Control(form, std::move(name), index), group_(group) {
    if (group_) group_->Add(*this);
}

void OptionButton::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Touch();
}

void OptionButton::SetValue(bool value) {
    if (!Assign(value_, value)) return;
    Touch();
    if (!value) return;
    if (group_) {
        for (OptionButton* other : group_->Members()) {
            if (other != this && other->value_) {
                other->value_ = false;
                other->Touch();
            }
        }
    }
    if (onClick) onClick();
}

void TextBox::SetText(std::string text) {
    if (!Assign(text_, std::move(text))) return;
    Touch();
    if (onChange) onChange();
}

void ComboBox::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Touch();
}

void ComboBox::SetItemText(std::size_t index, std::string text) {
    if (index >= items_.size() || !Assign(items_[index], std::move(text))) return;
    if (static_cast<int>(index) == listIndex_) text_ = items_[index];
    Touch();
}

void ComboBox::Clear() {
    items_.clear();
    listIndex_ = -1;
    text_.clear();
    Touch();
}

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) return;
    if (!Assign(listIndex_, index)) return;
    text_ = index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string();
    Touch();
    if (onClick) onClick();
}

void ComboBox::SetText(std::string text) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i] == text) {
            SetListIndex(static_cast<int>(i));
            return;
        }
    }
    if (Assign(text_, std::move(text))) Touch();
}

bool ProgressBar::SetValue(double value) {
    if (value < min_ || value > max_) return false;
    if (Assign(value_, value)) Touch();
    return true;
}

bool ProgressBar::SetMax(double max) {
    if (max < min_) return false;
    if (Assign(max_, max)) Touch();
    if (value_ > max_) value_ = max_;
    return true;
}

bool ProgressBar::SetMin(double min) {
    if (min > max_) return false;
    if (Assign(min_, min)) Touch();
    if (value_ < min_) value_ = min_;
    return true;
}

void TabStrip::AddTab(std::string caption) {
    tabs_.push_back(std::move(caption));
    Touch();
}

void TabStrip::SetTabCaption(std::size_t index, std::string caption) {
    if (index >= tabs_.size()) return;
    if (Assign(tabs_[index], std::move(caption))) Touch();
}

void TabStrip::Select(int index) {
    if (index < 0 || index >= static_cast<int>(tabs_.size())) return;
    if (!Assign(selected_, index)) return;
    Touch();
    if (onClick) onClick();
}

void MenuItem::SetCaption(std::string caption) {
    if (Assign(caption_, std::move(caption))) Touch();
}

void MenuItem::SetChecked(bool checked) {
    if (Assign(checked_, checked)) Touch();
}

void DateTimePicker::SetValue(std::optional<DateTime> value) {
    if (!Assign(value_, std::move(value))) return;
    Touch();
    if (onChange) onChange();
}

Timer::Timer(Form& form, std::string name, unsigned intervalMs, bool enabled)
    : Control(form, std::move(name)), interval_(intervalMs) {
    SetEnabled(enabled);
}

void Timer::SetInterval(unsigned milliseconds) {
    if (!Assign(interval_, milliseconds)) return;
    Touch();
    ++starts_;
}

void Timer::EnabledChanged() {
    if (Enabled()) ++starts_;
}

}  // namespace bastion::ui
