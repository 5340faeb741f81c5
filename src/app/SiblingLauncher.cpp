#include "app/SiblingLauncher.h"

#include "common/Lines.h"
#include "platform/FileExistence.h"
#include "services/messages/GuardMessages.h"
#include "services/settings/SiblingProducts.h"

namespace bastion {

void cmdHijack_Click(const SiblingLauncher& launcher) {
    // The file comes from the same section as the button's caption: the
    // button must start the product it names.
    const std::string file = services::ReadSiblingProduct(launcher.settings, launcher.identity).file;
    if (!file.empty() && FileExists(launcher.files, file)) {
        launcher.shell.StartProgram("\"" + file + "\"", platform::ShowWindow::Normal);
        return;
    }
    launcher.dialogs.MessageBox(launcher.messages.getMessages(services::msg::kFileGone) + std::string(kCrLf) + file,
                                launcher.identity.productName, services::MsgButtons::Ok, services::MsgIcon::None);
}

}  // namespace bastion
