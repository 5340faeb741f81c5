// The exclusion file "ENoSignature.dat" in the data folder: reading it into
// the exclusion list, adding to it, and opening it for editing by hand.
// Unlike the definition files its lines are plain text in the system code
// page, not shifted.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "definitions/ExclusionList.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "ui/Dialogs.h"
#include "ui/EventPump.h"
#include "ui/MessageCatalogue.h"

namespace bastion {

// Where the exclusion file lives and how its text is stored.
struct ExclusionFile {
    platform::FileSystem& files;
    const CodePage& codePage;
    std::string dataFolder;

    std::string Path() const;
};

// Rebuilds the list from the file (an absent file gives the empty list),
// letting pending events run after every line.
void LoadExclusions(const ExclusionFile& file, ui::EventPump& pump, ExclusionList& list);

// Appends the trimmed item as a line, creating the file when absent; the
// list in memory is left as it is. False when the line could not be written.
bool AppendExclusion(const ExclusionFile& file, std::string_view item);

// Appends the trimmed item as a line (creating the file when absent) and
// reloads the list. False when the line could not be written; the list is
// reloaded either way.
bool AddExclusion(const ExclusionFile& file, ui::EventPump& pump, ExclusionList& list, std::string_view item);

// The same for several items in order, with one reload at the end. False
// when any line could not be written.
bool AddExclusions(const ExclusionFile& file, ui::EventPump& pump, ExclusionList& list,
                   const std::vector<std::string>& items);

// "View Exclusions" of the Quarantine menu: opens the file in Notepad for
// editing by hand, or says that there is none yet. Edits take effect at the
// next load.
void ViewExclusions(const ExclusionFile& file, platform::Shell& shell, ui::Dialogs& dialogs,
                    const ui::MessageCatalogue& messages);

}  // namespace bastion
