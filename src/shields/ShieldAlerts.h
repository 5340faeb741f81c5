// What the shields ask the user, and the answers they take. The front end
// shows each question and waits for its answer while the program runs on;
// a question closed without a button, left unanswered too long, or cut
// short by the program's end has none.
#pragma once

#include <string>

#include "scan/processes/ProcessScanner.h"

namespace bastion {

enum class StartPageAnswer { PutBack, Keep, NoAnswer };

class ShieldAlerts {
public:
    virtual ~ShieldAlerts() = default;

    // A running program matched the definitions: stop it, or allow it from
    // now on. needsAdministrator: only an administrator may stop it.
    virtual AlertAnswer AskAboutProgram(const std::string& fileName, const std::string& companyName,
                                        bool needsAdministrator) = 0;
    // The browser's start page is no longer the remembered one: put the
    // remembered one back, or keep the new one.
    virtual StartPageAnswer AskAboutStartPage(const std::string& remembered, const std::string& current) = 0;
    // Closes the question that waits: the shield's operation is asked to
    // stop.
    virtual void Dismiss() = 0;
};

}  // namespace bastion
