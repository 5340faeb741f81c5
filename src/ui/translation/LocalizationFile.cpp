#include "ui/translation/LocalizationFile.h"

#include <algorithm>

#include "common/Lines.h"
#include "common/Text.h"

namespace bastion::ui {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The text between the first open tag and the first close tag after it;
// nullopt when either is missing.
std::optional<std::string_view> Between(std::string_view text, std::string_view open, std::string_view close) {
    const std::size_t start = FindIgnoreCase(text, open);
    if (start == std::string::npos) return std::nullopt;
    const std::size_t from = start + open.size();
    const std::size_t end = FindIgnoreCase(text, close, from);
    if (end == std::string::npos) return std::nullopt;
    return text.substr(from, end - from);
}

bool IsTagCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The key of an item line: what follows "<" up to the first ">", after
// blanks and tabs; empty when the line does not begin an item.
std::string_view ItemTag(std::string_view line) {
    std::size_t pos = line.find_first_not_of(" \t");
    if (pos == std::string_view::npos || line[pos] != '<') return {};
    const std::size_t close = line.find('>', pos);
    if (close == std::string_view::npos) return {};
    const std::string_view tag = line.substr(pos + 1, close - pos - 1);
    for (char c : tag) {
        if (!IsTagCharacter(c)) return {};
    }
    return tag;
}

}  // namespace

std::string_view SkipByteOrderMark(std::string_view text) {
    if (StartsWith(text, kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return text;
}

std::vector<LanguageBlock> LanguageBlocks(std::string_view text) {
    text = SkipByteOrderMark(text);
    std::vector<LanguageBlock> blocks;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = FindIgnoreCase(text, kLanguageGroupOpen, pos);
        if (open == std::string::npos) break;
        const std::size_t close = FindIgnoreCase(text, kLanguageGroupClose, open + kLanguageGroupOpen.size());
        if (close == std::string::npos) break;
        const std::string_view block = text.substr(open, close - open);
        LanguageBlock language;
        if (auto name = Between(block, kLanguageNameOpen, kLanguageNameClose)) language.name = Trim(*name);
        if (auto items = Between(block, kItemsOpen, kItemsClose)) language.items = SplitLines(*items);
        blocks.push_back(std::move(language));
        pos = close + kLanguageGroupClose.size();
    }
    return blocks;
}

std::vector<std::string> LanguageNames(std::string_view text) {
    std::vector<std::string> names;
    for (LanguageBlock& block : LanguageBlocks(text)) {
        if (!block.name.empty()) names.push_back(std::move(block.name));
    }
    return names;
}

std::optional<std::vector<std::string>> LanguageItems(std::string_view text, std::string_view language) {
    for (LanguageBlock& block : LanguageBlocks(text)) {
        if (block.items && EqualsIgnoreCase(block.name, Trim(language))) return std::move(block.items);
    }
    return std::nullopt;
}

std::optional<std::string> AcceptedLanguageFile(std::string_view downloaded) {
    const std::size_t first = downloaded.find('<');
    if (first == std::string_view::npos) return std::nullopt;
    const std::string_view text = downloaded.substr(first);
    const std::vector<LanguageBlock> blocks = LanguageBlocks(text);
    const bool whole = std::any_of(blocks.begin(), blocks.end(),
                                   [](const LanguageBlock& block) { return !block.name.empty() && block.items; });
    if (!whole) return std::nullopt;
    return std::string(text) + std::string(kCrLf);
}

TranslationItems::TranslationItems(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view tag = ItemTag(lines[i]);
        if (tag.empty()) continue;
        const std::string key = ToUpper(tag);
        if (items_.count(key)) continue;
        const std::string open = "<" + std::string(tag) + ">";
        const std::string close = "</" + std::string(tag) + ">";
        const std::size_t start = FindIgnoreCase(lines[i], open) + open.size();
        std::optional<std::string> text;
        std::string gathered = lines[i].substr(start);
        for (std::size_t j = i;; ++j) {
            const std::size_t end = FindIgnoreCase(gathered, close);
            if (end != std::string::npos) {
                text = gathered.substr(0, end);
                break;
            }
            // A line break inside the text, unless the file ends or the next
            // item begins: then the closing tag is missing.
            if (j + 1 >= lines.size() || !ItemTag(lines[j + 1]).empty()) break;
            gathered += kCrLf;
            gathered += lines[j + 1];
        }
        items_.emplace(key, std::move(text));
    }
}

std::optional<std::string> TranslationItems::Find(std::string_view key) const {
    const auto found = items_.find(ToUpper(key));
    if (found == items_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> TranslationItems::Keys() const {
    std::vector<std::string> keys;
    for (const auto& [key, text] : items_) {
        if (text) keys.push_back(key);
    }
    return keys;
}

}  // namespace bastion::ui
