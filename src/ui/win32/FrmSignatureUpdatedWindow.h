// The definitions-updated pop-up: the result text and "OK", sliding out of
// the taskbar beside the notification area.
#pragma once

#include "ui/forms/FrmSignatureUpdated.h"
#include "ui/win32/SlideWindow.h"

namespace bastion::win32 {

class FrmSignatureUpdatedWindow final : public SlideWindow {
public:
    // Places itself by the monitor of mainWindow.
    FrmSignatureUpdatedWindow(ui::FrmSignatureUpdated& form, const Window& mainWindow);
    ~FrmSignatureUpdatedWindow() override { Destroy(); }

    // The file shield's notice is the same window under a class of its own,
    // so that the two are told apart.
    bool Create(const wchar_t* className = L"BastionSignatureUpdated") { return CreateSliding(className); }

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmSignatureUpdated& popup_;
};

}  // namespace bastion::win32
