#include "cli/ConsoleQuarantine.h"

#include <algorithm>

#include "app/App.h"
#include "cli/ConsoleScan.h"
#include "common/Text.h"
#include "removal/quarantine/QuarantineRestore.h"

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
    const bool overwrite = arguments.overwrite;
    for (const QuarantineItem& item : items) {
        const auto& ids = arguments.restoreIds;
        if (!arguments.restoreAll && std::find(ids.begin(), ids.end(), item.id) == ids.end()) continue;
        const RestoreResult result = RestoreFromQuarantine(quarantine, platform.registry, item,
                                                           [overwrite](const std::string&) { return overwrite; });
        allBack = allBack && result == RestoreResult::Restored;
        output.Out(std::string(ResultWord(result)) + "\t" + item.originalLocation + "\n");
    }
    return allBack ? kExitNothingFound : kExitError;
}

}  // namespace bastion::cli
