// The modal questions the program asks: message boxes, an input box, the
// open-file dialog and the folder browser. The window build shows real ones,
// tests answer from a queue, the console scanner answers from its options.
#pragma once

#include <optional>
#include <string>

namespace bastion::services {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgResult { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MsgResult MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                                 MsgIcon icon) = 0;
    // The text typed, or nullopt when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    // The chosen file's full path, or nullopt when cancelled. filter is
    // "Description|*.ext|Description|*.*".
    virtual std::optional<std::string> OpenFile(const std::string& title, const std::string& filter) = 0;
    // The chosen folder, or nullopt when cancelled.
    virtual std::optional<std::string> BrowseFolder(const std::string& title) = 0;
};

}  // namespace bastion::services
