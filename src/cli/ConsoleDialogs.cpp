#include "cli/ConsoleDialogs.h"

#include "common/Text.h"

namespace bastion::cli {

ui::MsgResult UnattendedAnswer(ui::MsgButtons buttons) {
    switch (buttons) {
        case ui::MsgButtons::Ok:
            return ui::MsgResult::Ok;
        case ui::MsgButtons::OkCancel:
        case ui::MsgButtons::RetryCancel:
            return ui::MsgResult::Cancel;
        case ui::MsgButtons::YesNo:
        case ui::MsgButtons::YesNoCancel:
            return ui::MsgResult::No;
        case ui::MsgButtons::AbortRetryIgnore:
            return ui::MsgResult::Ignore;
    }
    return ui::MsgResult::Cancel;
}

ui::MsgResult ConsoleDialogs::MessageBox(const std::string& text, const std::string&, ui::MsgButtons buttons,
                                         ui::MsgIcon) {
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
