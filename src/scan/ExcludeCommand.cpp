#include "scan/ExcludeCommand.h"

#include <vector>

#include "common/Lines.h"
#include "common/Text.h"
#include "services/messages/MessageKeys.h"

namespace bastion {

namespace {

bool NothingToExclude(const ScanState& state) {
    return state.ResultsList().Empty() && state.RegistryQueue().Empty() && state.ActivityList().Empty();
}

std::string Confirmation(const services::MessageCatalogue& messages) {
    std::string blankLine(kCrLf);
    blankLine += kCrLf;
    return messages.getMessages(services::msg::kExcSure1) + blankLine + messages.getMessages(services::msg::kExcSure2) +
           blankLine + messages.getMessages(services::msg::kExcSure3);
}

// Each ticked row stands for its location and for its name; a cookie's name
// is stored without the prefix the results list shows.
std::vector<std::string> TickedItems(const ui::ListView& results) {
    std::vector<std::string> items;
    for (std::size_t row = 0; row < results.Count(); ++row) {
        if (!results.Item(row).checked) continue;
        items.push_back(results.SubItem(row, 1));
        items.push_back(ReplaceAll(results.Item(row).text, "Cookie: ", ""));
    }
    return items;
}

}  // namespace

void cmdExclude_Click(const ExcludeCommand& command) {
    ScanState& state = command.state;
    if (NothingToExclude(state)) {
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
    ScanState& state = command.state;
    std::vector<std::string> items = TickedItems(state.ResultsList());
    if (!items.empty()) {
        AddExclusions(command.file, command.pump, command.exclusions, items);
    }

    // The queue rows of a ticked detection carry its tick (see
    // SyncHiddenChecks), so they go with it.
    state.FileQueue().RemoveChecked();
    state.RegistryQueue().RemoveChecked();
    state.ActivityList().RemoveChecked();
    state.CookieQueue().RemoveChecked();
    state.Form().lblDeletingCaption.SetCaption("");
    state.ResultsList().RemoveChecked();
}

}  // namespace bastion
