#include "ui/translation/LocalizationTemplate.h"

#include <set>

#include "common/Text.h"
#include "services/settings/SettingKeys.h"
#include "ui/translation/FormTexts.h"
#include "ui/translation/LocalizationFile.h"

namespace bastion::ui {

namespace {

constexpr std::string_view kDescription =
    "This file holds the texts of the program in every language it speaks. You are welcome to correct a "
    "translation or to add a language: copy the English block, translate the text between each pair of tags "
    "(keep [ProgramName], [CompanyName], [Website] and the ampersands that mark a menu's access key) and send "
    "the file to us. Press the 'Check for Language Updates' button of the language window to fetch the newest "
    "file.";

constexpr std::string_view kPlaceholders[] = {"[ProgramName]", "[CompanyName]", "[Website]"};

// Line breaks inside a text as the file stores them: CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

struct KeyedText {
    std::string key;
    std::string text;
};

// Every text of the English block, keys upper-cased; a key that repeats
// (the same control name in another window is another key) is written once.
std::vector<KeyedText> EnglishTexts(const std::vector<Form*>& windows, const services::MessageCatalogue& messages) {
    std::vector<KeyedText> texts;
    std::set<std::string> seen;
    auto add = [&](std::string key, std::string text) {
        key = ToUpper(key);
        if (seen.insert(key).second) texts.push_back({std::move(key), std::move(text)});
    };
    for (Form* window : windows) {
        for (FormText& text : TranslatableTexts(*window)) add(std::move(text.key), std::move(text.text));
    }
    for (std::size_t slot = 0; slot < messages.UsedCount(); ++slot) add(messages.KeyAt(slot), messages.TextAt(slot));
    return texts;
}

void Line(std::string& out, std::string_view text) {
    out += text;
    out += "\r\n";
}

// Access keys: every "&" that is not part of a doubled "&&".
int Accelerators(std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (i + 1 < text.size() && text[i + 1] == '&') {
            ++i;
        } else {
            ++count;
        }
    }
    return count;
}

int Occurrences(std::string_view text, std::string_view what) {
    int count = 0;
    for (std::size_t at = FindIgnoreCase(text, what); at != std::string::npos;
         at = FindIgnoreCase(text, what, at + what.size())) {
        ++count;
    }
    return count;
}

void CheckTranslation(const LanguageBlock& block, const std::vector<KeyedText>& english,
                      LocalizationCheck& check) {
    const TranslationItems items(*block.items);
    std::set<std::string> known;
    for (const KeyedText& each : english) {
        known.insert(each.key);
        const std::optional<std::string> text = items.Find(each.key);
        if (!text || Trim(*text).empty()) {
            check.warnings.push_back(block.name + " has no text for " + each.key);
            continue;
        }
        for (std::string_view placeholder : kPlaceholders) {
            if (Occurrences(*text, placeholder) != Occurrences(each.text, placeholder)) {
                check.errors.push_back(block.name + " " + each.key + ": " + std::string(placeholder) + " differs");
            }
        }
        if (Accelerators(*text) != Accelerators(each.text)) {
            check.errors.push_back(block.name + " " + each.key + ": the access keys (&) differ");
        }
    }
    for (const std::string& key : items.Keys()) {
        if (!known.count(key)) check.warnings.push_back(block.name + " has a key the program does not know: " + key);
    }
}

}  // namespace

std::string ComposeLocalizationFile(const std::vector<Form*>& windows, const services::MessageCatalogue& messages,
                                    const std::vector<std::string>& languageBlocks) {
    std::string out;
    Line(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    Line(out, "<XML_DIZ_INFO>");
    Line(out, "\t<LOCALIZATION_FILE_INFO>");
    Line(out, "\t\t<LOCALIZATION_FILE_VERSION>1.0</LOCALIZATION_FILE_VERSION>");
    Line(out, "\t</LOCALIZATION_FILE_INFO>");
    Line(out, "<LANGUAGE_GROUP xml:lang=\"en\">");
    Line(out, "\t<LANGUAGE_NAME>" + std::string(services::settings::kEnglish) + "</LANGUAGE_NAME>");
    Line(out, "\t<DESCRIPTION>" + std::string(kDescription) + "</DESCRIPTION>");
    Line(out, "\t" + std::string(kItemsOpen));
    for (const KeyedText& each : EnglishTexts(windows, messages)) {
        Line(out, "\t\t<" + each.key + ">" + WithCrLf(each.text) + "</" + each.key + ">");
    }
    Line(out, "\t" + std::string(kItemsClose));
    Line(out, kLanguageGroupClose);
    for (const std::string& block : languageBlocks) {
        out += WithCrLf(block);
        if (!EndsWith(out, "\r\n")) out += "\r\n";
    }
    Line(out, "</XML_DIZ_INFO>");
    return out;
}

std::string makeLocalizationFile(const std::vector<Form*>& windows, const services::MessageCatalogue& messages) {
    return ComposeLocalizationFile(windows, messages, {});
}

LocalizationCheck CheckLocalizationFile(std::string_view text, const std::vector<Form*>& windows,
                                        const services::MessageCatalogue& messages) {
    LocalizationCheck check;
    const std::vector<KeyedText> english = EnglishTexts(windows, messages);
    const std::vector<LanguageBlock> blocks = LanguageBlocks(text);
    std::set<std::string> names;
    bool englishFound = false;
    for (const LanguageBlock& block : blocks) {
        if (block.name.empty() || !block.items) {
            check.errors.push_back("a language block without a name or without its items");
            continue;
        }
        if (!names.insert(ToUpper(block.name)).second) check.errors.push_back(block.name + " is there twice");
        if (!EqualsIgnoreCase(block.name, services::settings::kEnglish)) {
            CheckTranslation(block, english, check);
            continue;
        }
        englishFound = true;
        const TranslationItems items(*block.items);
        for (const KeyedText& each : english) {
            if (items.Find(each.key) != WithCrLf(each.text)) {
                check.errors.push_back("English " + each.key + " does not read back as written");
            }
        }
    }
    if (!englishFound) check.errors.push_back("no English block");
    return check;
}

}  // namespace bastion::ui
