// Showing a form window modally: its owner is disabled while it shows, and
// the call returns when the form model turns invisible (its OK button) or
// the window is closed.
#pragma once

#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

// The window must have been created with the owner given here.
void RunModal(FormWindow& window, HWND owner);

}  // namespace bastion::win32
