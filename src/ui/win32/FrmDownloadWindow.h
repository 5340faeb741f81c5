// The progress window of a definition update: the blinking line with its
// two pictures, the status of the request and "Cancel". Created once, hidden,
// over the main window; it shows and hides as its model does.
#pragma once

#include "ui/forms/FrmDownload.h"
#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

class FrmDownloadWindow final : public FormWindow {
public:
    explicit FrmDownloadWindow(ui::FrmDownload& form);
    ~FrmDownloadWindow() override { Destroy(); }

    bool Create(HWND owner);

protected:
    void CreateControls() override;
    void Layout(const ui::Rect& client) override;

private:
    ui::FrmDownload& download_;
};

}  // namespace bastion::win32
