// The modal questions as real Windows dialogs: message boxes, a small input
// box, the open-file dialog and the folder browser, each owned by the window
// set as owner so that it stays in front of it.
#pragma once

#include "services/dialogs/Dialogs.h"

struct HWND__;

namespace bastion::win32 {

class Win32Dialogs final : public services::Dialogs {
public:
    // The window the dialogs belong to; none until set.
    void SetOwner(HWND__* owner) { owner_ = owner; }
    HWND__* Owner() const { return owner_; }

    services::MsgResult MessageBox(const std::string& text, const std::string& title, services::MsgButtons buttons,
                             services::MsgIcon icon) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::optional<std::string> OpenFile(const std::string& title, const std::string& filter) override;
    // Needs COM initialised on the calling thread (the program does so at
    // start).
    std::optional<std::string> BrowseFolder(const std::string& title) override;

private:
    HWND__* owner_ = nullptr;
};

}  // namespace bastion::win32
