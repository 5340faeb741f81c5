#include "ui/win32/ProgressBarControl.h"

#include "ui/layout/ProgressScale.h"

namespace bastion::win32 {

HWND ProgressBarControl::CreateNative(HWND parent, int id) {
    HWND bar = MakeChild(parent, id, PROGRESS_CLASSW, PBS_SMOOTH);
    if (bar) ::SendMessageW(bar, PBM_SETRANGE32, 0, ui::kProgressSteps);
    return bar;
}

void ProgressBarControl::Sync() {
    const int step = ui::ProgressSteps(model_.Min(), model_.Max(), model_.Value());
    ::SendMessageW(Hwnd(), PBM_SETPOS, static_cast<WPARAM>(step), 0);
    SyncState();
}

}  // namespace bastion::win32
