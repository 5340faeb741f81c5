// The translation file "Localization.txt" as the program reads it: UTF-8
// text (a byte-order mark skipped) that holds one block per language. It
// looks like XML but is read by plain substring search, with tags and keys
// found without regard to case, so that a file written by hand in any
// editor, with any line ends, reads the same.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bastion::ui {

inline constexpr std::string_view kLocalizationFileName = "Localization.txt";

inline constexpr std::string_view kLanguageGroupOpen = "<LANGUAGE_GROUP";
inline constexpr std::string_view kLanguageGroupClose = "</LANGUAGE_GROUP>";
inline constexpr std::string_view kLanguageNameOpen = "<LANGUAGE_NAME>";
inline constexpr std::string_view kLanguageNameClose = "</LANGUAGE_NAME>";
inline constexpr std::string_view kItemsOpen = "<TRANSLATION_ITEMS>";
inline constexpr std::string_view kItemsClose = "</TRANSLATION_ITEMS>";

// The text without a leading UTF-8 byte-order mark.
std::string_view SkipByteOrderMark(std::string_view text);

// One "<LANGUAGE_GROUP" ... "</LANGUAGE_GROUP>" block of the file.
struct LanguageBlock {
    // The text between "<LANGUAGE_NAME>" and "</LANGUAGE_NAME>"; empty when
    // the block names no language.
    std::string name;
    // The lines between "<TRANSLATION_ITEMS>" and "</TRANSLATION_ITEMS>",
    // split at CR LF, LF or CR; nullopt when the block holds no whole item
    // list.
    std::optional<std::vector<std::string>> items;
};

// The whole blocks in file order. The walk ends at an opening tag without
// its closing one: what follows it is not a block.
std::vector<LanguageBlock> LanguageBlocks(std::string_view text);

// The language names of the named blocks, in file order.
std::vector<std::string> LanguageNames(std::string_view text);

// The item lines of the first block of that name (compared ignoring case)
// that holds an item list; nullopt when there is none.
std::optional<std::vector<std::string>> LanguageItems(std::string_view text, std::string_view language);

// What a downloaded translation file is stored as: the text from its first
// "<" on, followed by CR LF; nullopt when it holds no whole language block
// with a name and its items (an error page, a cut-off answer).
std::optional<std::string> AcceptedLanguageFile(std::string_view downloaded);

// The items of one language, by key. An item is "<" + key + ">" + text +
// "</" + key + ">" on a line (blanks and tabs before it allowed); a text
// that holds line breaks runs on over the following lines up to its
// closing tag. The first line of a key decides: when its closing tag is
// missing (the file ends, or another item begins first) the key has no
// text, and a later line of the same key does not count.
class TranslationItems {
public:
    TranslationItems() = default;
    explicit TranslationItems(const std::vector<std::string>& lines);

    // The raw text of the key (ignoring case), nullopt when the language
    // has no whole item for it.
    std::optional<std::string> Find(std::string_view key) const;
    std::size_t Size() const { return items_.size(); }
    // Every key with a text, upper-cased, in no particular order.
    std::vector<std::string> Keys() const;

private:
    std::map<std::string, std::optional<std::string>> items_;
};

}  // namespace bastion::ui
