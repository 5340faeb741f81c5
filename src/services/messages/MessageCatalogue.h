// Every text the program composes at run time, fetched by key so that a
// translation can replace it: a fixed table of 201 slots filled from the
// first one upwards. Texts name the product and the company through
// placeholders, filled in on every look-up.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "services/identity/Identity.h"

namespace bastion::services {

class MessageCatalogue {
public:
    static constexpr std::size_t kSlotCount = 201;

    explicit MessageCatalogue(Identity identity);

    // Stores the pair in the first free slot, even when the key is already
    // there (look-ups then find the earlier slot). A full table ignores it.
    void setMessage(std::string_view key, std::string_view text);

    // The text of the first slot with this key (ignoring case), with
    // "[ProgramName]" and "[CompanyName]" filled in and the first letter
    // upper-cased; "" for a key that is not in the table.
    std::string getMessages(std::string_view key) const;
    // The same for a text that goes on a sentence begun before it ("...
    // submitted.  Thank you!" after a file name): its first letter stays as
    // written.
    std::string getMessageContinuing(std::string_view key) const;

    // What the translation service walks: the used slots, 0 to UsedCount()-1.
    std::size_t UsedCount() const { return used_; }
    const std::string& KeyAt(std::size_t slot) const { return slots_.at(slot).key; }
    // The stored text, placeholders unfilled.
    const std::string& TextAt(std::size_t slot) const { return slots_.at(slot).text; }
    // Replaces a used slot's text (a slot past the used ones is left alone).
    void SetTextAt(std::size_t slot, std::string text);

private:
    struct Slot {
        std::string key;
        std::string text;
    };

    Identity identity_;
    std::array<Slot, kSlotCount> slots_;
    // Slots are used from 0 without gaps, so the count marks the first free
    // one.
    std::size_t used_ = 0;
};

}  // namespace bastion::services
