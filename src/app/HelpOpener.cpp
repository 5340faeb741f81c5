#include "app/HelpOpener.h"

#include "platform/FileExistence.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {

bool Form8_Load(const HelpOpener& opener) {
    const std::string help = opener.programFolder + "\\" + std::string(kHelpFile);
    if (!FileExists(opener.files, help)) return false;
    opener.shell.Open(help, platform::ShowWindow::Normal);
    opener.machineSettings.Write(ui::settings::kMachineShowHelp, ui::settings::kUnchecked);
    return true;
}

}  // namespace bastion
