#include "services/messages/MessageCatalogue.h"

#include "common/Text.h"

namespace bastion::services {

MessageCatalogue::MessageCatalogue(Identity identity) : identity_(std::move(identity)) {}

void MessageCatalogue::setMessage(std::string_view key, std::string_view text) {
    if (used_ == kSlotCount) return;
    slots_[used_] = Slot{std::string(key), std::string(text)};
    ++used_;
}

std::string MessageCatalogue::getMessages(std::string_view key) const {
    return UpperFirst(getMessageContinuing(key));
}

std::string MessageCatalogue::getMessageContinuing(std::string_view key) const {
    for (std::size_t i = 0; i < used_; ++i) {
        if (EqualsIgnoreCase(slots_[i].key, key)) return ReplaceMessagePlaceholders(slots_[i].text, identity_);
    }
    return {};
}

void MessageCatalogue::SetTextAt(std::size_t slot, std::string text) {
    if (slot < used_) slots_[slot].text = std::move(text);
}

}  // namespace bastion::services
