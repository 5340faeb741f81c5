#include "cli/ConsoleDialogs.h"

#include "common/Text.h"

namespace bastion::cli {

services::MsgResult UnattendedAnswer(services::MsgButtons buttons) {
    switch (buttons) {
        case services::MsgButtons::Ok:
            return services::MsgResult::Ok;
        case services::MsgButtons::OkCancel:
        case services::MsgButtons::RetryCancel:
            return services::MsgResult::Cancel;
        case services::MsgButtons::YesNo:
        case services::MsgButtons::YesNoCancel:
            return services::MsgResult::No;
        case services::MsgButtons::AbortRetryIgnore:
            return services::MsgResult::Ignore;
    }
    return services::MsgResult::Cancel;
}

services::MsgResult ConsoleDialogs::MessageBox(const std::string& text, const std::string&,
                                               services::MsgButtons buttons, services::MsgIcon) {
    progress_.Clear();
    // Message texts break lines with CR LF; the console gets plain ones.
    output_.Err(ReplaceAll(text, "\r\n", "\n") + "\n");
    return UnattendedAnswer(buttons);
}

std::optional<std::string> ConsoleDialogs::InputBox(const std::string&, const std::string&, const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsoleDialogs::OpenFile(const std::string&, const std::string&) { return chosenFile; }

std::optional<std::string> ConsoleDialogs::BrowseFolder(const std::string&) { return chosenFolder; }

}  // namespace bastion::cli
