// The translation file as the build writes it: the English template made
// from the program's own windows and messages, the shipped file that adds
// the translations kept in the repository, and the checks that both read
// back as they were meant to. UTF-8 with CR LF line ends throughout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "services/messages/MessageCatalogue.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

// The English template: header, one "English" block with a line per
// translatable text of every window (keys upper-cased) and per message,
// and the closing lines. A text that holds line breaks is written whole,
// running on over the following lines.
std::string makeLocalizationFile(const std::vector<Form*>& windows, const services::MessageCatalogue& messages);

// The template with further language blocks (each a whole
// "<LANGUAGE_GROUP" ... "</LANGUAGE_GROUP>" text) after the English one.
std::string ComposeLocalizationFile(const std::vector<Form*>& windows, const services::MessageCatalogue& messages,
                                    const std::vector<std::string>& languageBlocks);

// What is wrong with a translation file against the program.
struct LocalizationCheck {
    // An English text that does not read back as the window or the
    // catalogue holds it, a language block without name or items or given
    // twice, a text whose placeholders or access keys ("&") differ from the
    // English one.
    std::vector<std::string> errors;
    // A language that lacks a text of the English block (the English one
    // shows), or has one the program no longer knows.
    std::vector<std::string> warnings;
};
LocalizationCheck CheckLocalizationFile(std::string_view text, const std::vector<Form*>& windows,
                                        const services::MessageCatalogue& messages);

}  // namespace bastion::ui
