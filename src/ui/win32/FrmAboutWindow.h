// The about window: the program's icon and name, its maker, version and
// website, and OK; shown modally over the main window.
#pragma once

#include "ui/forms/FrmAbout.h"
#include "ui/win32/FormWindow.h"
#include "ui/win32/GdiObjects.h"

namespace bastion::win32 {

class FrmAboutWindow final : public FormWindow {
public:
    explicit FrmAboutWindow(ui::FrmAbout& form) : FormWindow(form), about_(form) {}
    ~FrmAboutWindow() override { Destroy(); }

    bool Create(HWND owner);

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    ui::FrmAbout& about_;
    UniqueIcon icon_;
};

// Creates the about window over owner and returns when the user closed it.
void ShowFrmAboutModal(ui::FrmAbout& form, HWND owner);

}  // namespace bastion::win32
