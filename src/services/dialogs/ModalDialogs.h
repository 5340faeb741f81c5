// The program's dialogs as the operation gate sees them: while one is open
// the gate knows a modal window is up, so that no timer starts background
// work behind it. Wraps the dialogs of the front end (the real ones, the
// console's or a test's).
#pragma once

#include "services/dialogs/Dialogs.h"
#include "services/operations/OperationGate.h"

namespace bastion::services {

class ModalDialogs : public Dialogs {
public:
    ModalDialogs(Dialogs& inner, OperationGate& gate) : inner_(inner), gate_(gate) {}

    MsgResult MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override {
        OperationGate::ModalScope modal(gate_);
        return inner_.MessageBox(text, title, buttons, icon);
    }
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override {
        OperationGate::ModalScope modal(gate_);
        return inner_.InputBox(prompt, title, defaultText);
    }
    std::optional<std::string> OpenFile(const std::string& title, const std::string& filter) override {
        OperationGate::ModalScope modal(gate_);
        return inner_.OpenFile(title, filter);
    }
    std::optional<std::string> BrowseFolder(const std::string& title) override {
        OperationGate::ModalScope modal(gate_);
        return inner_.BrowseFolder(title);
    }

private:
    Dialogs& inner_;
    OperationGate& gate_;
};

}  // namespace bastion::services
