// The report viewer's window: the report in a read-only text box and an OK
// button, shown modally over the main window.
#pragma once

#include "ui/forms/FrmReport.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmReportWindow final : public FormWindow {
public:
    explicit FrmReportWindow(ui::FrmReport& form) : FormWindow(form), report_(form) {}
    ~FrmReportWindow() override { Destroy(); }

    bool Create(HWND owner);

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmReport& report_;
};

// Creates the viewer over owner and returns when the user closed it.
void ShowFrmReportModal(ui::FrmReport& form, HWND owner);

}  // namespace bastion::win32
