// The simple control models. Each holds state only; behaviour is attached by
// the component that owns it through the on... handler fields, which the
// native window calls on a user action and the model calls where Windows
// would (a check box whose value is set fires its click, as a click would).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "ui/forms/Control.h"

namespace bastion::ui {

using Handler = std::function<void()>;

class Label : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "Label"; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    Handler onClick;
    void Click() { if (onClick) onClick(); }

private:
    std::string caption_;
};

// A label of the skin; it behaves as a plain label but translations name its
// type apart.
class SkinLabel : public Label {
public:
    using Label::Label;
    const char* TypeName() const override { return "SkinLabel"; }
};

class CommandButton : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "CommandButton"; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    Handler onClick;
    void Click() { if (onClick) onClick(); }

private:
    std::string caption_;
};

class Frame : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "Frame"; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

private:
    std::string caption_;
};

inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

// A check box's value for a yes or no.
constexpr int CheckValue(bool checked) { return checked ? kChecked : kUnchecked; }

class CheckBox : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "CheckBox"; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    int Value() const { return value_; }
    bool Checked() const { return value_ == kChecked; }
    // A change of value fires onClick, as a user click would.
    void SetValue(int value);
    // The user's click: toggles and fires onClick.
    void Click() { SetValue(value_ == kChecked ? kUnchecked : kChecked); }
    Handler onClick;

private:
    std::string caption_;
    int value_ = kUnchecked;
};

class OptionButton;

// The option buttons of one container: switching one on switches the others
// off.
class OptionGroup {
public:
    void Add(OptionButton& button) { members_.push_back(&button); }
    const std::vector<OptionButton*>& Members() const { return members_; }

private:
    std::vector<OptionButton*> members_;
};

class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name, int index = -1, OptionGroup* group = nullptr);
    const char* TypeName() const override { return "OptionButton"; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Value() const { return value_; }
    // Switching on switches the group's other buttons off (without their
    // clicks) and fires onClick; switching off fires nothing.
    void SetValue(bool value);
    void Click() { SetValue(true); }
    Handler onClick;

private:
    std::string caption_;
    bool value_ = false;
    OptionGroup* group_;
};

class TextBox : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "TextBox"; }
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    bool multiLine = false;
    bool readOnly = false;
    Handler onChange;
    // The Enter key in a single-line box.
    Handler onEnter;

private:
    std::string text_;
};

class ComboBox : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "ComboBox"; }
    const std::vector<std::string>& Items() const { return items_; }
    void AddItem(std::string item);
    // A new text for an item (a translation); the selection stays.
    void SetItemText(std::size_t index, std::string text);
    void Clear();
    // -1 when nothing is selected.
    int ListIndex() const { return listIndex_; }
    // Selects the item; fires onClick when the selection changes.
    void SetListIndex(int index);
    const std::string& Text() const { return text_; }
    // Shows the text; selects the first item equal to it, if any.
    void SetText(std::string text);
    Handler onClick;

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    std::string text_;
};

class ProgressBar : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "ProgressBar"; }
    double Min() const { return min_; }
    double Max() const { return max_; }
    double Value() const { return value_; }
    // A value outside [min, max] is refused (false) and leaves the bar as it
    // was, so a progress report can never break the work it reports on.
    bool SetValue(double value);
    // A maximum below the minimum is refused; the value is kept within.
    bool SetMax(double max);
    bool SetMin(double min);

private:
    double min_ = 0;
    double max_ = 100;
    double value_ = 0;
};

class TabStrip : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "TabStrip"; }
    const std::vector<std::string>& Tabs() const { return tabs_; }
    void AddTab(std::string caption);
    void SetTabCaption(std::size_t index, std::string caption);
    // Zero-based; selecting fires onClick when the selection changes.
    int Selected() const { return selected_; }
    void Select(int index);
    Handler onClick;

private:
    std::vector<std::string> tabs_;
    int selected_ = 0;
};

class MenuItem : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "Menu"; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // A separator line ("-") carries no action.
    bool IsSeparator() const { return caption_ == "-"; }
    // The items of a drop-down or sub-menu, in order.
    std::vector<MenuItem*> children;
    Handler onClick;
    void Click() { if (onClick) onClick(); }

private:
    std::string caption_;
    bool checked_ = false;
};

enum class PickerFormat { Date, Time };

class DateTimePicker : public Control {
public:
    using Control::Control;
    const char* TypeName() const override { return "DTPicker"; }
    PickerFormat format = PickerFormat::Date;
    // Empty when the picker holds no value.
    const std::optional<DateTime>& Value() const { return value_; }
    void SetValue(std::optional<DateTime> value);
    Handler onChange;

private:
    std::optional<DateTime> value_;
};

class Timer : public Control {
public:
    Timer(Form& form, std::string name, unsigned intervalMs, bool enabled);
    const char* TypeName() const override { return "Timer"; }
    unsigned Interval() const { return interval_; }
    // A new interval starts the period afresh, as switching on does.
    void SetInterval(unsigned milliseconds);
    Handler onTick;
    // What the native timer calls on every elapsed interval while enabled.
    void Tick() { if (onTick) onTick(); }

    // Held off by the background timers' switch: the period runs on, and a
    // tick that came due meanwhile fires once when the hold ends. Unlike
    // switching off and on, a hold never starts the period afresh.
    bool Held() const { return held_; }
    void SetHeld(bool held) { held_ = held; }
    // Enabled and not held: ticks come.
    bool Running() const { return Enabled() && !held_; }
    // Grows each time the period starts afresh (switched on, a new
    // interval): what the clock running the timers follows.
    std::uint64_t Starts() const { return starts_; }

protected:
    void EnabledChanged() override;

private:
    unsigned interval_;
    bool held_ = false;
    std::uint64_t starts_ = 0;
};

}  // namespace bastion::ui
