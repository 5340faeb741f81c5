// The process scan: running programs compared with "ExeDefinition.dat".
// Inside a scan a running threat is stopped at once; outside one (the memory
// shield's timer) it is shown to the user, who stops or allows it.
#pragma once

#include <functional>
#include <string>

#include "scan/ScanContext.h"
#include "ui/Dialogs.h"
#include "ui/MessageCatalogue.h"

namespace bastion {

enum class AlertAnswer { Stop, Allow };

// The memory shield's alert for a detection outside a scan: the file name
// and the company text to show; returns the user's answer ("STOP" or
// "ALLOW").
using RunningThreatAlert = std::function<AlertAnswer(const std::string& fileName, const std::string& companyName)>;

class ProcessScanner {
public:
    ProcessScanner(ui::Dialogs& dialogs, const ui::MessageCatalogue& messages, std::string productName);

    // Chooses the variant by the operating-system family.
    void ScanRunningProcesses(ScanContext& context);
    // Forgets the last process list, so the next run inspects every process
    // even when none started or ended (a scan the user starts must).
    void ResetSignature();
    void SetAlert(RunningThreatAlert alert) { alert_ = std::move(alert); }

private:
    ui::Dialogs& dialogs_;
    const ui::MessageCatalogue& messages_;
    std::string productName_;
    RunningThreatAlert alert_;
    std::string processListSignature_;
};

}  // namespace bastion
