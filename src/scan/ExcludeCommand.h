// The Exclude button of the results page: the ticked detections go on the
// user's exclusion list and leave the result lists, so that later scans show
// them as "EXCLUDED" rows and removal never touches them.
#pragma once

#include <string>

#include "definitions/ExclusionList.h"
#include "definitions/Exclusions.h"
#include "scan/state/ScanState.h"
#include "services/dialogs/Dialogs.h"
#include "services/messages/MessageCatalogue.h"
#include "services/waits/EventPump.h"

namespace bastion {

struct ExcludeCommand {
    ScanState& state;
    services::Dialogs& dialogs;
    const services::MessageCatalogue& messages;
    // The title of the program's message boxes.
    const std::string& productName;
    const ExclusionFile& file;
    ExclusionList& exclusions;
    services::EventPump& pump;
};

// Asks first; on Yes adds the location and the name (without "Cookie: ") of
// every ticked results row to the exclusion file, then drops the ticked rows
// of the queues, the activity list and the results list.
void cmdExclude_Click(const ExcludeCommand& command);

// The same without the question: what a false-positive report excludes
// once the user agreed.
void ExcludeTicked(const ExcludeCommand& command);

}  // namespace bastion
