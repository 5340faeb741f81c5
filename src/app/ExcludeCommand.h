// The Exclude button of the results page: the ticked detections go on the
// user's exclusion list and leave the results list, so that later scans show
// them as "EXCLUDED" entries and removal never touches them.
#pragma once

#include <string>
#include <vector>

#include "app/ResultsPresenter.h"
#include "definitions/ExclusionList.h"
#include "definitions/Exclusions.h"
#include "services/dialogs/Dialogs.h"
#include "services/messages/MessageCatalogue.h"
#include "services/waits/EventPump.h"
#include "ui/forms/FrmMain.h"

namespace bastion {

struct ExcludeCommand {
    // The lists, and which detections are ticked.
    ResultsPresenter& results;
    ui::FrmMain& form;
    services::Dialogs& dialogs;
    const services::MessageCatalogue& messages;
    // The title of the program's message boxes.
    const std::string& productName;
    const ExclusionFile& file;
    ExclusionList& exclusions;
    services::EventPump& pump;
};

// Asks first; on Yes adds the location and the name of every ticked
// detection to the exclusion file, then drops their rows.
void cmdExclude_Click(const ExcludeCommand& command);

// The same without the question: what a false-positive report excludes
// once the user agreed.
void ExcludeTicked(const ExcludeCommand& command);

}  // namespace bastion
