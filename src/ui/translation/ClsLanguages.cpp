#include "ui/translation/ClsLanguages.h"

#include "common/PathParts.h"
#include "common/Text.h"
#include "platform/FileExistence.h"
#include "services/settings/SettingKeys.h"
#include "ui/translation/FormTexts.h"

namespace bastion::ui {

clsLanguages::clsLanguages(platform::FileSystem& files, std::string programFolder, services::Identity identity,
                           services::MessageCatalogue& messages)
    : files_(files), programFolder_(std::move(programFolder)), identity_(std::move(identity)), messages_(messages) {}

std::string clsLanguages::LocalizationPath() const {
    return programFolder_ + "\\" + std::string(kLocalizationFileName);
}

std::optional<std::string> clsLanguages::ReadLocalizationFile() const {
    const std::string path = LocalizationPath();
    if (!LangFileExists(path)) return std::nullopt;
    std::optional<std::string> text = files_.ReadFile(path);
    if (text) *text = std::string(SkipByteOrderMark(*text));
    return text;
}

std::vector<std::string> clsLanguages::LanguageNames() const {
    const std::optional<std::string> text = ReadLocalizationFile();
    return text ? ui::LanguageNames(*text) : std::vector<std::string>{};
}

void clsLanguages::LoadLanguage(std::string_view language) {
    language_ = std::string(language);
    const std::optional<std::string> text = ReadLocalizationFile();
    if (!text) return;
    if (std::optional<std::vector<std::string>> lines = LanguageItems(*text, language)) {
        lineCount_ = lines->size();
        items_ = TranslationItems(*lines);
    }
}

void clsLanguages::ChangeLanguage(Form& window, std::string_view language) {
    LoadLanguage(language);
    if (lineCount_ <= 1) LoadLanguage(services::settings::kEnglish);
    TranslateWindow(window);
    TranslateMessages();
}

void clsLanguages::TranslateWindow(Form& window) const {
    for (FormText& text : TranslatableTexts(window)) {
        std::string translated = getCaption(text.key);
        if (!translated.empty() && translated != text.text) text.set(std::move(translated));
    }
}

void clsLanguages::TranslateMessages() {
    // The table keeps its placeholders: a look-up fills them in.
    for (std::size_t slot = 0; slot < messages_.UsedCount(); ++slot) {
        std::optional<std::string> text = items_.Find(messages_.KeyAt(slot));
        if (text && !text->empty()) messages_.SetTextAt(slot, std::move(*text));
    }
}

std::string clsLanguages::getCaption(std::string_view key) const {
    const std::optional<std::string> text = items_.Find(key);
    if (!text) return {};
    return UpperFirst(ReplaceCaptionPlaceholders(*text, identity_));
}

bool clsLanguages::LangFileExists(const std::string& path) const { return FileExists(files_, path); }

std::string LangTrimPath(std::string_view path) { return FileNameOfPath(path); }

}  // namespace bastion::ui
