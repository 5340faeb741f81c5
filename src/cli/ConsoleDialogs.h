// The console scanner never waits for an answer: a message box prints its
// text on standard error and takes the answer that lets the work go on
// without doing anything the user did not ask for (No, Cancel, Ignore); the
// file and folder dialogs answer with the path of the command line.
#pragma once

#include <optional>
#include <string>

#include "cli/ConsoleOutput.h"
#include "cli/ProgressLine.h"
#include "services/dialogs/Dialogs.h"

namespace bastion::cli {

// The answer a box with these buttons gets.
services::MsgResult UnattendedAnswer(services::MsgButtons buttons);

class ConsoleDialogs final : public services::Dialogs {
public:
    ConsoleDialogs(ConsoleOutput& output, ProgressLine& progress) : output_(output), progress_(progress) {}

    services::MsgResult MessageBox(const std::string& text, const std::string& title, services::MsgButtons buttons,
                             services::MsgIcon icon) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::optional<std::string> OpenFile(const std::string& title, const std::string& filter) override;
    std::optional<std::string> BrowseFolder(const std::string& title) override;

    // What the open-file dialog and the folder browser answer.
    std::optional<std::string> chosenFile;
    std::optional<std::string> chosenFolder;

private:
    ConsoleOutput& output_;
    ProgressLine& progress_;
};

}  // namespace bastion::cli
