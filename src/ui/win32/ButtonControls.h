// Native buttons of the models: command buttons (owner-drawn, flat),
// check boxes and option buttons. A click goes to the model's Click(), which
// for check boxes and option buttons changes the value and fires the
// handler, as the models define; the native check mark only follows.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/win32/ButtonFace.h"
#include "ui/win32/HoverTracker.h"
#include "ui/win32/NativeControl.h"

namespace bastion::win32 {

class CommandButtonControl : public NativeControl {
public:
    CommandButtonControl(ui::CommandButton& model, ButtonLook look) : NativeControl(model), model_(model), look_(look) {}

    // A navigation button shows itself selected while that page is visible.
    void SelectedWhileVisible(const ui::Control& page) { page_ = &page; }

    void OnCommand(WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;
    std::uint64_t Stamp() const override;

private:
    bool Selected() const { return page_ && page_->Visible(); }

    ui::CommandButton& model_;
    ButtonLook look_;
    const ui::Control* page_ = nullptr;
    HoverTracker hover_;
};

class CheckBoxControl : public NativeControl {
public:
    explicit CheckBoxControl(ui::CheckBox& model) : NativeControl(model), model_(model) {}
    void OnCommand(WORD code) override;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    ui::CheckBox& model_;
};

class OptionButtonControl : public NativeControl {
public:
    explicit OptionButtonControl(ui::OptionButton& model) : NativeControl(model), model_(model) {}
    void OnCommand(WORD code) override;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    ui::OptionButton& model_;
};

}  // namespace bastion::win32
