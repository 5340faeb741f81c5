// The summary of the home page: how many definitions there are, the program
// and definition versions, how many items were removed so far and when the
// last scans ran. Refreshed at start-up, after every scan and after every
// removal.
#pragma once

#include <cstdint>

#include "services/Services.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

// lblDefCount (definitionCount with thousands separators), lblVersion,
// lblDefVersion (the definition date and " PST"), lblDefRemoved, lblLastScan
// and lblLastFullScan ("Never" in the user's language until a scan ran), and
// lblScheduleMissed, shown while a scheduled scan was missed.
void RefreshStatusPage(const services::Services& services, ui::FrmMain& form, std::int32_t definitionCount);

}  // namespace bastion
