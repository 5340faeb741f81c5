#include "ui/forms/Form.h"

#include "ui/forms/Control.h"

namespace bastion::ui {

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::SetCaption(std::string caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    ++changes_;
}

void Form::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    ++changes_;
}

Control* Form::Find(const std::string& name, int index) const {
    for (Control* control : controls_) {
        if (control->Name() == name && control->Index() == index) return control;
    }
    return nullptr;
}

Control::Control(Form& form, std::string name, int index)
    : form_(&form), name_(std::move(name)), index_(index) {
    form.Register(this);
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Touch();
    EnabledChanged();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Touch();
}

}  // namespace bastion::ui
