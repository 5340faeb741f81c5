#include "cli/ConsoleUpdate.h"

#include <cctype>

#include "app/App.h"
#include "cli/ConsoleDialogs.h"
#include "cli/ConsoleEventPump.h"
#include "cli/ConsoleScan.h"
#include "cli/ProgressLine.h"
#include "common/Text.h"
#include "services/messages/MessageKeys.h"
#include "update/DefinitionDate.h"

namespace bastion::cli {

namespace {

std::string WithoutDigits(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) out += c;
    }
    return out;
}

}  // namespace

bool IsNewStatus(const std::string& last, const std::string& status) {
    return WithoutDigits(last) != WithoutDigits(status);
}

int RunConsoleUpdate(platform::Platform& platform, const services::Identity& identity, ConsoleOutput& output,
                     std::atomic<bool>& interrupted) {
    ProgressLine progress(output, output.ErrIsTerminal());
    ConsoleDialogs dialogs(output, progress);
    ConsoleEventPump pump(interrupted);
    App app(platform, dialogs, pump, identity);
    app.InstallStarterDefinitions();
    // Ctrl+C ends the update at its next safe point.
    pump.onInterrupt = [&app] { app.operations.EndWhenIdle({}); };
    std::string lastWritten;
    app.updates.onStatus = [&](const std::string& status) {
        if (progress.Enabled()) {
            progress.Show(status);
        } else if (IsNewStatus(lastWritten, status)) {
            output.Err(status + "\n");
            lastWritten = status;
        }
    };

    const std::optional<UpdateResult> result = app.updates.RunLiveUpdate();
    progress.Clear();
    const UpdateOutcome outcome = result ? result->outcome : UpdateOutcome::Failed;
    const std::string date = ReadDefinitionDate(platform.files, platform.codePage, app.dataFolder);
    switch (outcome) {
        case UpdateOutcome::Updated:
            output.Out("Definitions updated to " + date + " (" + ToDecimal(result->count) + " changes).\n");
            return kExitNothingFound;
        case UpdateOutcome::UpToDate:
            output.Out("Definitions are up to date (" + date + ").\n");
            return kExitNothingFound;
        case UpdateOutcome::Stopped:
            output.Err("bastion-scan: the update was stopped.\n");
            return kExitError;
        case UpdateOutcome::Unverified:
            output.Err("bastion-scan: " + app.messages.getMessages(services::msg::kNotVerified) + "\n");
            return kExitError;
        case UpdateOutcome::NotSaved:
            output.Err("bastion-scan: " + app.messages.getMessages(services::msg::kNotSaved) + "\n");
            return kExitError;
        case UpdateOutcome::Failed:
            break;
    }
    output.Err("bastion-scan: " + app.messages.getMessages(services::msg::kInternet) + "\n");
    return kExitError;
}

}  // namespace bastion::cli
