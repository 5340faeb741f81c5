#include "shields/MemoryShield.h"

#include "common/Text.h"
#include "services/messages/MessageKeys.h"
#include "services/operations/TimersHeld.h"
#include "services/settings/SettingKeys.h"
#include "services/waits/QuietPump.h"

namespace bastion {

namespace {
constexpr std::string_view kMemoryShieldOperation = "memory shield";
}  // namespace

MemoryShield::MemoryShield(const ScanEnvironment& environment, ShieldAlerts& alerts)
    : env_(environment), alerts_(alerts) {
    env_.processScanner.SetAlert(
        [this](const std::string& fileName, const std::string& companyName, bool needsAdministrator) {
            return alerts_.AskAboutProgram(fileName, companyName, needsAdministrator);
        });
}

void MemoryShield::CheckRunningPrograms() {
    if (!env_.settings.ReadTruth(services::settings::kOptMemorySheildOn)) return;
    // Busy: the next tick looks again.
    if (!env_.operations.Idle()) return;
    services::OperationGate::Operation operation =
        env_.operations.TryBegin(kMemoryShieldOperation, [this] { alerts_.Dismiss(); });
    if (!operation) return;
    const services::TimersHeld held(env_.background);
    try {
        if (!tokens_) tokens_ = PathTokens::Resolve(env_.shell);
        // The look takes no event; an alert waits with the program's pump.
        services::QuietPump quiet;
        ScanContext context = MakeScanContext(env_, *tokens_, quiet);
        env_.processScanner.ScanRunningProcesses(context, ProcessScanCaller::Shield);
        TellNotStopped();
    } catch (...) {
        // The shield looks again at its next tick.
    }
}

void MemoryShield::TellNotStopped() {
    std::vector<std::string> needAdministrator;
    for (const ProgramNotStopped& program : env_.processScanner.NotStopped()) {
        if (env_.operations.Ending()) return;
        if (program.needsAdministrator && offerElevatedRestart) {
            needAdministrator.push_back(program.fileName);
            continue;
        }
        env_.dialogs.MessageBox(
            ToUpper(program.fileName) + " " + env_.messages.getMessages(services::msg::kErrorStopped),
            env_.identity.productName, services::MsgButtons::Ok, services::MsgIcon::Information);
    }
    if (!needAdministrator.empty()) offerElevatedRestart(needAdministrator);
}

}  // namespace bastion
