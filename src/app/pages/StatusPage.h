// The summary of the home page: how many definitions there are, the program
// and definition versions, how many items were removed so far and when the
// last scans ran. Refreshed at start-up, after every scan and after every
// removal.
#pragma once

#include <string>
#include <string_view>

#include "common/CodePage.h"
#include "platform/FileSystem.h"
#include "scan/state/ScanState.h"
#include "services/identity/Identity.h"
#include "services/messages/MessageCatalogue.h"
#include "services/settings/SettingsStore.h"

namespace bastion {

struct StatusPage {
    platform::FileSystem& files;
    const CodePage& codePage;
    const std::string& dataFolder;
    const services::Identity& identity;
    // The words the page shows in the user's language.
    const services::MessageCatalogue& messages;
    const services::SettingsStore& settings;
    // The definition count of its last counting, and the home page labels.
    ScanState& state;
};

// lblDefCount (with thousands separators), lblVersion, lblDefVersion (the
// definition date and " PST"), lblDefRemoved, lblLastScan and
// lblLastFullScan ("Never" in the user's language until a scan ran), and
// lblScheduleMissed, shown while a scheduled scan was missed.
void RefreshStatusPage(const StatusPage& page);

}  // namespace bastion
