#include "app/HelpOpener.h"

#include "app/App.h"
#include "common/PathParts.h"
#include "platform/FileExistence.h"
#include "services/settings/SettingKeys.h"

namespace bastion {

bool Form8_Load(const HelpOpener& opener) {
    const std::string help = opener.programFolder + "\\" + std::string(kHelpFile);
    if (!FileExists(opener.files, help)) return false;
    opener.shell.Open(help, platform::ShowWindow::Normal);
    opener.machineSettings.WriteQuietly(services::settings::kMachineShowHelp, services::settings::kUnchecked);
    return true;
}

bool ViewHelp(App& app) {
    services::MachineSettingsStore machine(app.platform.registry, app.identity.companyName, app.identity.productName,
                                     app.settings, app.dialogs);
    const bool opened =
        Form8_Load({app.platform.files, app.platform.shell, machine, FolderOfPath(app.platform.system.ProgramPath())});
    app.pump.Pump();
    return opened;
}

}  // namespace bastion
