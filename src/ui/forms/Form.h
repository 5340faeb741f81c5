// A window as a plain object: its name, caption and visibility, and the
// controls it holds in declaration order. The native window (ui/win32) reads
// the model and pushes what changed; tests work on the model alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bastion::ui {

class Control;

class Form {
public:
    explicit Form(std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    const std::string& Name() const { return name_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Every control of the form in declaration order (what a translation
    // walk visits).
    const std::vector<Control*>& Controls() const { return controls_; }
    // The control of that name and index (-1 for a control outside an
    // array), or nullptr.
    Control* Find(const std::string& name, int index = -1) const;

    // Grows with every change of the form's own caption or visibility.
    std::uint64_t ChangeCount() const { return changes_; }

private:
    friend class Control;
    void Register(Control* control) { controls_.push_back(control); }

    std::string name_;
    std::string caption_;
    bool visible_ = false;
    std::uint64_t changes_ = 0;
    std::vector<Control*> controls_;
};

}  // namespace bastion::ui
