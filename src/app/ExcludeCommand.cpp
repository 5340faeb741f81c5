#include "app/ExcludeCommand.h"

#include "common/Lines.h"
#include "ui/MessageKeys.h"

namespace bastion {

namespace {

bool NothingToExclude(const ui::FrmMain& form) {
    return form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved.Empty() && form.lvwSpywareFound.Empty();
}

std::string Confirmation(const ui::MessageCatalogue& messages) {
    std::string blankLine(kCrLf);
    blankLine += kCrLf;
    return messages.getMessages(ui::msg::kExcSure1) + blankLine + messages.getMessages(ui::msg::kExcSure2) +
           blankLine + messages.getMessages(ui::msg::kExcSure3);
}

}  // namespace

std::vector<std::string> ExclusionItems(const Detection& detection) { return {detection.location, detection.threat}; }

void cmdExclude_Click(const ExcludeCommand& command) {
    if (NothingToExclude(command.form)) {
        command.dialogs.MessageBox(command.messages.getMessages(ui::msg::kSorry), command.productName,
                                   ui::MsgButtons::Ok, ui::MsgIcon::Information);
        return;
    }
    ui::MsgResult answer = command.dialogs.MessageBox(Confirmation(command.messages),
                                                      command.messages.getMessages(ui::msg::kExcSure4),
                                                      ui::MsgButtons::YesNo, ui::MsgIcon::None);
    if (answer == ui::MsgResult::Yes) ExcludeTicked(command);
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
