// A small modal input box (prompt, one line of text, OK and Cancel), built
// from an in-memory dialog template so that no resource has to ship with it.
#pragma once

#include <optional>
#include <string>

struct HWND__;

namespace bastion::win32 {

// Control identifiers, for tests that drive the box.
inline constexpr int kInputBoxPromptId = 100;
inline constexpr int kInputBoxEditId = 101;

// The text typed (UTF-8) when the user pressed OK; nullopt on Cancel, on
// closing the box or when it could not be shown.
std::optional<std::string> ShowInputBox(HWND__* owner, const std::string& prompt, const std::string& title,
                                        const std::string& defaultText);

}  // namespace bastion::win32
