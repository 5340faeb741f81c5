#include "app/HelpOpener.h"

#include "app/App.h"
#include "common/PathParts.h"
#include "platform/FileExistence.h"
#include "ui/settings/SettingKeys.h"

namespace bastion {

bool Form8_Load(const HelpOpener& opener) {
    const std::string help = opener.programFolder + "\\" + std::string(kHelpFile);
    if (!FileExists(opener.files, help)) return false;
    opener.shell.Open(help, platform::ShowWindow::Normal);
    opener.machineSettings.WriteQuietly(ui::settings::kMachineShowHelp, ui::settings::kUnchecked);
    return true;
}

bool ViewHelp(App& app) {
    ui::MachineSettingsStore machine(app.platform.registry, app.identity.companyName, app.identity.productName,
                                     app.settings, app.dialogs);
    const bool opened =
        Form8_Load({app.platform.files, app.platform.shell, machine, FolderOfPath(app.platform.system.ProgramPath())});
    app.pump.Pump();
    return opened;
}

}  // namespace bastion
