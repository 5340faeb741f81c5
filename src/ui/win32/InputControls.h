// Native controls that take the user's input: a text box, a drop-down list
// and a date or time picker. What the user enters goes into the model
// through its setter, which fires the model's handler.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/win32/NativeControl.h"

namespace bastion::win32 {

// A single-line box whose model takes the Enter key (onEnter) keeps it
// from the window's default button and runs the handler.
class TextBoxControl : public NativeControl {
public:
    explicit TextBoxControl(ui::TextBox& model) : NativeControl(model), model_(model) {}
    ~TextBoxControl() override;
    void OnCommand(WORD code) override;
    HBRUSH OnColor(HDC dc) override;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    static LRESULT CALLBACK EnterKeyProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR self);

    ui::TextBox& model_;
    HWND subclassed_ = nullptr;
};

class ComboBoxControl : public NativeControl {
public:
    explicit ComboBoxControl(ui::ComboBox& model) : NativeControl(model), model_(model) {}
    void OnCommand(WORD code) override;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    ui::ComboBox& model_;
    std::vector<std::string> shownItems_;
};

// DTS_SHOWNONE gives the picker its tick box: unticked means no value.
class DateTimePickerControl : public NativeControl {
public:
    explicit DateTimePickerControl(ui::DateTimePicker& model) : NativeControl(model), model_(model) {}
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    ui::DateTimePicker& model_;
    bool pushing_ = false;
};

}  // namespace bastion::win32
