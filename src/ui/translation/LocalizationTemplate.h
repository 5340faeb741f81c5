// The translation file as the build writes it: the English template made
// from the program's own windows and messages, the shipped file that adds
// the translations kept in the repository, and the checks that both read
// back as they were meant to. UTF-8 with CR LF line ends throughout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/MessageCatalogue.h"
#include "ui/forms/Form.h"

namespace bastion::ui {

// The English template: header, one "English" block with a line per
// translatable text of every window (keys upper-cased) and per message,
// and the closing lines. A text that holds line breaks is written whole,
// running on over the following lines.
std::string makeLocalizationFile(const std::vector<Form*>& windows, const MessageCatalogue& messages);

// The template with further language blocks (each a whole
// "<LANGUAGE_GROUP" ... "</LANGUAGE_GROUP>" text) after the English one.
std::string ComposeLocalizationFile(const std::vector<Form*>& windows, const MessageCatalogue& messages,
                                    const std::vector<std::string>& languageBlocks);

// What is wrong with a translation file against the program: an English
// text that does not read back as the window or the catalogue holds it, a
// language that lacks a key of the English block or has one it does not,
// an empty text, or a text whose placeholders or accelerators ("&") differ
// from the English one. Empty when all is well.
std::vector<std::string> CheckLocalizationFile(std::string_view text, const std::vector<Form*>& windows,
                                               const MessageCatalogue& messages);

}  // namespace bastion::ui
