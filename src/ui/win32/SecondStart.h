// A second start of the program brings the first one's window back: the
// second run lets any program take the foreground (its own window may not
// be the one the user is looking at) and posts the first a message
// registered under the product's name; the first shows its window, in
// front, and the second ends. Another product built from this code listens
// for its own name only.
#pragma once

#include <string>

#include "platform/win32/WindowsApi.h"

namespace bastion::win32 {

// The message a second run sends; 0 when the system registers none.
UINT ShowFirstRunMessage(const std::string& productName);

// What the second run does before it ends.
void AskFirstRunToShowItself(const std::string& productName);

// A run started to replace the one before it (with administrator rights)
// waits up to the time given for that one to end before it looks for
// another run; false when the earlier run is still there.
bool WaitForEarlierRunToEnd(const std::string& productName, unsigned milliseconds);

}  // namespace bastion::win32
