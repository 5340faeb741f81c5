// A native progress bar for a model bar, whose range of doubles (the overall
// bar counts bytes) is shown in a fixed number of steps.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/win32/NativeControl.h"

namespace bastion::win32 {

class ProgressBarControl : public NativeControl {
public:
    explicit ProgressBarControl(ui::ProgressBar& model) : NativeControl(model), model_(model) {}

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    ui::ProgressBar& model_;
};

}  // namespace bastion::win32
