// The help file: "Help.chm" in the program folder, handed to the shell.
// "View Help" opens it, and so does the first start.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "services/settings/MachineSettingsStore.h"

namespace bastion {

inline constexpr std::string_view kHelpFile = "Help.chm";

struct HelpOpener {
    platform::FileSystem& files;
    platform::Shell& shell;
    services::MachineSettingsStore& machineSettings;
    // Without a trailing backslash.
    std::string programFolder;
};

// Opens the help file when it exists and notes in the machine store that
// help was shown ("showHelp" = "0"); false when there is no help file. The
// note is kept only where it can be written: a standard user is never
// asked about the machine store for it.
bool Form8_Load(const HelpOpener& opener);

class App;
// Help > "View Help" and the first start: the help file opened, then the
// pending events run (the help window's load and close).
bool ViewHelp(App& app);

}  // namespace bastion
