// What the file shield asks and tells the user: a file that matched the
// definitions as it arrived, and a file it put in the quarantine on its own.
#pragma once

#include <string>

#include "scan/results/Detection.h"

namespace bastion {

enum class FileAnswer { Quarantine, Allow, NoAnswer };

class FileShieldAlerts {
public:
    virtual ~FileShieldAlerts() = default;

    // The file (its name and the folder it lies in) holds the threat:
    // put it in the quarantine, or allow it from now on.
    virtual FileAnswer AskAboutFile(const Detection& detection, const std::string& fileName,
                                    const std::string& folder) = 0;
    // The file went to the quarantine without a question: a notice beside
    // the notification area says so, and asks nothing.
    virtual void TellQuarantined(const Detection& detection) = 0;
    // Closes the question that waits: the shield's operation is asked to
    // stop.
    virtual void Dismiss() = 0;
};

}  // namespace bastion
