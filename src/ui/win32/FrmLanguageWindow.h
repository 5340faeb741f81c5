// The language window: the list of languages, "Check for language
// updates", "Translate this program" and "OK". Shown modally at the first
// start, before the main window; from the Languages menu it stays open
// beside the main window until OK or its close box.
#pragma once

#include "ui/forms/FrmLanguage.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmLanguageWindow final : public FormWindow {
public:
    explicit FrmLanguageWindow(ui::FrmLanguage& form);
    ~FrmLanguageWindow() override { Destroy(); }

    // owner may be nullptr (the first start, before the main window shows).
    bool Create(HWND owner);

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmLanguage& language_;
};

// Creates the window and returns when the user closed it.
void ShowFrmLanguageModal(ui::FrmLanguage& form, HWND owner);

}  // namespace bastion::win32
