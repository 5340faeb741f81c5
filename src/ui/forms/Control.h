// The common part of every control model: where it lives (form, name, index
// in its control array), what it is (type name, as translations address
// controls), whether it is enabled and visible, and a change counter that the
// native window compares to know what to redraw.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace bastion::ui {

class Form;

class Control {
public:
    // index is the position in a control array, -1 for a single control.
    Control(Form& form, std::string name, int index = -1);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    Form& Owner() const { return *form_; }
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    bool InArray() const { return index_ >= 0; }
    // "Label", "CommandButton", "CheckBox", ... as translations name them.
    virtual const char* TypeName() const = 0;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // The program sets this control's text from what it shows (a count, a
    // date, a status, a name): a translation leaves it alone, and the
    // translation template does not list it.
    bool ShowsLiveState() const { return liveState_; }
    void SetShowsLiveState(bool live = true) { liveState_ = live; }

    std::uint64_t ChangeCount() const { return changes_; }

protected:
    // Every setter that changes what the user sees calls this.
    void Touch() { ++changes_; }
    // After the control was switched on or off.
    virtual void EnabledChanged() {}

private:
    Form* form_;
    std::string name_;
    int index_;
    bool enabled_ = true;
    bool visible_ = true;
    bool liveState_ = false;
    std::uint64_t changes_ = 0;
};

// Each control switched on, or off.
inline void SetEnabled(std::initializer_list<Control*> controls, bool enabled) {
    for (Control* control : controls) control->SetEnabled(enabled);
}

}  // namespace bastion::ui
