// The dots per inch of a window: per monitor where the system tells it
// (GetDpiForWindow, Windows 10 and later, looked up at run time), else the
// screen's logical pixels per inch.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

int WindowDpi(HWND window);

}  // namespace bastion::win32
