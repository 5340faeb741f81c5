// A window's button on the taskbar, taken away while the program lives in
// the notification area and given back when it comes out.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

// False when the shell has no taskbar to ask.
bool ShowInTaskList(HWND window, bool shown);

}  // namespace bastion::win32
