#include "app/ExcludeCommand.h"

#include "common/Lines.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

bool NothingToExclude(const ui::FrmMain& form) {
    return form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Empty() && form.lvwSpywareFound.Empty();
}

std::string Confirmation(const services::MessageCatalogue& messages) {
    std::string blankLine(kCrLf);
    blankLine += kCrLf;
    return messages.getMessages(services::msg::kExcSure1) + blankLine + messages.getMessages(services::msg::kExcSure2) +
           blankLine + messages.getMessages(services::msg::kExcSure3);
}

}  // namespace

void cmdExclude_Click(const ExcludeCommand& command) {
    if (NothingToExclude(command.form)) {
        command.dialogs.MessageBox(command.messages.getMessages(services::msg::kSorry), command.productName,
                                   services::MsgButtons::Ok, services::MsgIcon::Information);
        return;
    }
    services::MsgResult answer = command.dialogs.MessageBox(Confirmation(command.messages),
                                                      command.messages.getMessages(services::msg::kExcSure4),
                                                      services::MsgButtons::YesNo, services::MsgIcon::None);
    if (answer == services::MsgResult::Yes) ExcludeTicked(command);
}

void ExcludeTicked(const ExcludeCommand& command) {
    std::vector<std::string> items;
    std::vector<DetectionId> ids;
    for (const Detection& detection : command.results.Ticked()) {
        for (std::string& item : ExclusionItems(detection)) items.push_back(std::move(item));
        ids.push_back(detection.id);
    }
    if (!items.empty()) {
        AddExclusions(command.file, command.pump, command.exclusions, items);
    }
    command.form.lblDeletingCaption.SetCaption("");
    command.results.Drop(ids);
}

}  // namespace bastion
