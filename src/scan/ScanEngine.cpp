#include "scan/ScanEngine.h"

#include "definitions/PathTokens.h"
#include "definitions/SafetyListLoader.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens) {
    return MakeScanContext(environment, tokens, environment.pump);
}

ScanContext MakeScanContext(const ScanEnvironment& environment, const PathTokens& tokens, services::EventPump& pump) {
    const ScanEnvironment& env = environment;
    return ScanContext{env.files,    env.codePage,   env.system, env.dataFolder, tokens,
                       env.safety,   env.exclusions, env.state,  pump,           env.tables,
                       env.registry, env.shell,      env.processes};
}

ScanEngine::ScanEngine(const ScanEnvironment& environment) : env_(environment) {}

std::string ScanEngine::Message(std::string_view key) const { return env_.messages.getMessages(key); }

std::string ScanEngine::Now() const { return FormatGeneralDate(env_.clock.Now()); }

ScanResults ScanEngine::Scan(const ScanRequest& request, ScanProgress& progress) {
    ScanState& state = env_.state;
    state.Begin(progress);
    cookieFilesExamined_ = 0;
    const std::string started = Now();
    // The memory shield's last look must not make this scan skip the
    // processes: inspect them all, whether or not any started or ended.
    env_.processScanner.ResetSignature();
    env_.processScanner.ClearNotStopped();

    // The folders the tokens stand for do not move while one scan runs.
    const PathTokens tokens = PathTokens::Resolve(env_.shell);
    const bool notStopped = false;
    LoadSafetyList(env_.files, env_.codePage, env_.dataFolder, tokens, notStopped, env_.safety);

    ScanContext context = MakeScanContext(env_, tokens);
    ScanOutcome outcome = RunKind(context, request);

    const std::string finished = Now();
    env_.settings.Write(services::settings::kLblLastScan, finished);
    if (request.kind == ScanKind::FullSystem) env_.settings.Write(services::settings::kLblLastFullScan, finished);
    if (outcome == ScanOutcome::Completed && state.StopRequested()) outcome = ScanOutcome::Cancelled;

    ScanResults results = state.End();
    results.outcome = outcome;
    results.started = started;
    results.finished = finished;
    results.notStopped = env_.processScanner.NotStopped();
    return results;
}

}  // namespace bastion
