// Showing a form window modally: its owner is disabled while it shows, and
// the call returns when the form model turns invisible (its OK button) or
// the window is closed.
#pragma once

#include <functional>

#include "ui/win32/FormWindow.h"

namespace bastion::win32 {

// Creates the window with create (which must give it this owner) and runs
// it modally. The window is created hidden and shown only once its owner is
// held, so that no input reaches the owner while the window is on screen.
void RunModal(FormWindow& window, HWND owner, const std::function<bool()>& create);

}  // namespace bastion::win32
