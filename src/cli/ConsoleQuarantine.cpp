#include "cli/ConsoleQuarantine.h"

#include <algorithm>

#include "app/App.h"
#include "cli/ConsoleScan.h"
#include "common/Text.h"
#include "removal/RemovalMessages.h"
#include "removal/quarantine/QuarantineRestore.h"
#include "services/messages/MessageCatalogue.h"

namespace bastion::cli {

namespace {

std::string_view ResultWord(RestoreResult result) {
    switch (result) {
    case RestoreResult::Restored: return "restored";
    case RestoreResult::Kept: return "kept";
    case RestoreResult::Failed: break;
    }
    return "failed";
}

}  // namespace

int RunQuarantineCommand(const Arguments& arguments, platform::Platform& platform, ConsoleOutput& output) {
    const std::string dataFolder = PrepareDataFolder(platform.shell, platform.files);
    Quarantine quarantine(platform.files, platform.codePage, platform.clock, dataFolder);
    const std::vector<QuarantineItem> items = quarantine.Items();
    if (arguments.command == Command::QuarantineList) {
        for (const QuarantineItem& item : items) {
            output.Out(ToDecimal(static_cast<long long>(item.id)) + "\t" + item.date + "\t" +
                       std::string(QuarantineKindName(item.kind)) + "\t" + item.originalLocation + "\n");
        }
        return kExitNothingFound;
    }
    bool allBack = true;
    for (std::uint64_t id : arguments.restoreIds) {
        if (std::none_of(items.begin(), items.end(), [id](const QuarantineItem& item) { return item.id == id; })) {
            output.Err("bastion-scan: no item " + ToDecimal(static_cast<long long>(id)) + " in the quarantine\n");
            allBack = false;
        }
    }
    // The questions are answered by the options.
    const bool overwrite = arguments.overwrite;
    const bool machineWide = arguments.machineWide;
    const RestoreQuestions questions{[overwrite](const std::string&) { return overwrite; },
                                     [machineWide](const std::string&) { return machineWide; }};
    const MachineWidePlaces places(platform.files, platform.shell, quarantine.Folder());
    // The reasons hold no product name: the catalogue needs no identity.
    services::MessageCatalogue messages{services::Identity{}};
    FillRemovalMessages(messages);
    for (const QuarantineItem& item : items) {
        const auto& ids = arguments.restoreIds;
        if (!arguments.restoreAll && std::find(ids.begin(), ids.end(), item.id) == ids.end()) continue;
        // An id asked for names one record, the one "quarantine list"
        // showed; a second record under it (added by another program) makes
        // the id name no record at all.
        const bool shared = std::count_if(items.begin(), items.end(),
                                          [&item](const QuarantineItem& other) { return other.id == item.id; }) > 1;
        const RestoreOutcome outcome =
            shared && !arguments.restoreAll
                ? RestoreOutcome{RestoreResult::Failed, msg::kRestoreBadRecord}
                : RestoreFromQuarantine(quarantine, platform.registry, places, item, questions);
        allBack = allBack && outcome.result == RestoreResult::Restored;
        output.Out(std::string(ResultWord(outcome.result)) + "\t" + item.originalLocation + "\n");
        if (!outcome.reason.empty()) {
            std::string why = messages.getMessageContinuing(outcome.reason);
            if (outcome.reason == msg::kRestoreNotAgreed) why += " (--machine-wide)";
            output.Err("bastion-scan: " + item.originalLocation + ": " + why + "\n");
        }
    }
    return allBack ? kExitNothingFound : kExitError;
}

}  // namespace bastion::cli
