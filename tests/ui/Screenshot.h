// Screenshots of windows under test, saved as PNG files in the build tree.
#pragma once

#include <windows.h>

#include <string>

namespace bastion::uitest {

// Captures the window as the screen shows it (brought to the front first)
// and writes it to BASTION_SCREENSHOT_DIR/<name>.png. False on failure.
bool SaveScreenshot(HWND window, const std::string& name);

}  // namespace bastion::uitest
