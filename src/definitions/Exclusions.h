// The exclusion file "ENoSignature.dat" in the data folder: reading it into
// the exclusion list, adding to it, and opening it for editing by hand.
// Unlike the definition files its lines are plain text, not shifted. The
// program writes it as UTF-8 after a byte-order mark, so that any path
// survives (a user folder named in another script than the system code
// page's); files in the system code page, as earlier versions and Notepad's
// "ANSI" write them, and UTF-8 without a mark are read as well.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "definitions/ExclusionList.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "services/dialogs/Dialogs.h"
#include "services/messages/MessageCatalogue.h"
#include "services/waits/EventPump.h"

namespace bastion {

// Where the exclusion file lives and how its text is stored.
struct ExclusionFile {
    platform::FileSystem& files;
    const CodePage& codePage;
    std::string dataFolder;

    std::string Path() const;
};

// The file's lines as UTF-8, whichever of its forms it is in; nullopt when
// it cannot be read (or is absent).
std::optional<std::vector<std::string>> ReadExclusionLines(const ExclusionFile& file);

// Rebuilds the list from the file (an absent file gives the empty list),
// letting pending events run after every line.
void LoadExclusions(const ExclusionFile& file, services::EventPump& pump, ExclusionList& list);

// Appends the trimmed item as a line, creating the file when absent; the
// list in memory is left as it is. A file in another form is rewritten as
// UTF-8 with a mark first, its lines kept. False when the line could not be
// written.
bool AppendExclusion(const ExclusionFile& file, std::string_view item);

// Appends the trimmed item as a line (creating the file when absent) and
// reloads the list. False when the line could not be written; the list is
// reloaded either way.
bool AddExclusion(const ExclusionFile& file, services::EventPump& pump, ExclusionList& list, std::string_view item);

// The same for several items in order, with one reload at the end. False
// when any line could not be written.
bool AddExclusions(const ExclusionFile& file, services::EventPump& pump, ExclusionList& list,
                   const std::vector<std::string>& items);

// "View Exclusions" of the Quarantine menu: opens the file in Notepad for
// editing by hand, or says that there is none yet. Edits take effect at the
// next load.
void ViewExclusions(const ExclusionFile& file, platform::Shell& shell, services::Dialogs& dialogs,
                    const services::MessageCatalogue& messages);

}  // namespace bastion
