#include "shields/MemoryShield.h"

#include "common/Text.h"
#include "ui/AlertWait.h"
#include "ui/MessageKeys.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {

namespace {
constexpr std::string_view kOperationName = "memory shield";
}  // namespace

MemoryShield::MemoryShield(MemoryShieldEnvironment environment) : env_(environment) {
    alert.SetCaption(env_.productName);
    env_.state.Form().tmrMemoryInspected.onTick = [this] { tmrMemoryInspected_Timer(); };
    env_.scanner.SetAlert(
        [this](const std::string& fileName, const std::string& companyName) { return Ask(fileName, companyName); });
}

void MemoryShield::tmrMemoryInspected_Timer() {
    if (!env_.settings.ReadTruth(ui::settings::kOptMemorySheildOn)) return;
    // Busy: the next tick looks again.
    if (!env_.operations.Idle()) return;
    ui::OperationGate::Operation operation = env_.operations.TryBegin(kOperationName, [this] { alert.Dismiss(); });
    if (!operation) return;
    env_.timers.EnableShieldTimers(false);
    try {
        if (!tokens_) tokens_ = PathTokens::Resolve(env_.shell);
        ScanContext context{env_.files,      env_.codePage, env_.system,    env_.dataFolder, *tokens_,
                            env_.safety,     env_.exclusions, env_.state,   env_.pump,       env_.tables,
                            env_.registry,   env_.shell,    env_.processes};
        env_.scanner.ScanRunningProcesses(context, ProcessScanCaller::Shield);
        TellNotStopped();
    } catch (...) {
        // The shield looks again at its next tick.
    }
    env_.timers.EnableShieldTimers(true);
}

AlertAnswer MemoryShield::Ask(const std::string& fileName, const std::string& companyName) {
    alert.Fill(fileName, companyName);
    switch (ui::AskAndWait(alert, env_.pump, env_.operations)) {
        case ui::AlertButton::Yes: return AlertAnswer::Stop;
        case ui::AlertButton::No: return AlertAnswer::Allow;
        case ui::AlertButton::None: break;
    }
    return AlertAnswer::NoAnswer;
}

void MemoryShield::TellNotStopped() {
    for (const std::string& fileName : env_.scanner.NotStopped()) {
        if (env_.operations.Ending()) return;
        env_.dialogs.MessageBox(ToUpper(fileName) + " " + env_.messages.getMessages(ui::msg::kErrorStopped),
                                env_.productName, ui::MsgButtons::Ok, ui::MsgIcon::Information);
    }
}

}  // namespace bastion
