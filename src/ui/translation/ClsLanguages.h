// The translation service: the language in use, its items read from
// "Localization.txt" in the program folder, and the message catalogue whose
// texts follow the language. Windows are translated through it when they
// are created (TranslateWindow) and when the user picks another language
// (ChangeLanguage).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "services/identity/Identity.h"
#include "services/messages/MessageCatalogue.h"
#include "ui/translation/LocalizationFile.h"
#include "ui/translation/WindowTranslator.h"

namespace bastion::ui {

class clsLanguages final : public WindowTranslator {
public:
    // programFolder without a trailing backslash.
    clsLanguages(platform::FileSystem& files, std::string programFolder, services::Identity identity,
                 services::MessageCatalogue& messages);
    clsLanguages(const clsLanguages&) = delete;
    clsLanguages& operator=(const clsLanguages&) = delete;

    // program folder + "\Localization.txt".
    std::string LocalizationPath() const;
    // The file's text without a byte-order mark; nullopt when there is no
    // such file or it cannot be read.
    std::optional<std::string> ReadLocalizationFile() const;
    // The languages the file offers, in file order.
    std::vector<std::string> LanguageNames() const;

    // Makes the language current: its items replace the current ones. A
    // language the file lacks, or a missing file, leaves the items as they
    // were (the name changes all the same).
    void LoadLanguage(std::string_view language);

    // Loads the language (English when it brings at most one line) and
    // translates the window and the message table.
    void ChangeLanguage(Form& window, std::string_view language);
    // Translates the window into the current language. A control is changed
    // only when the language has a text for it; live state is never
    // touched.
    void TranslateWindow(Form& window) const override;
    // Every message the current language translates takes its text.
    void TranslateMessages();

    // The text of the key in the current language, placeholders filled in
    // and its first letter upper-cased; "" when the language lacks it.
    std::string getCaption(std::string_view key) const;

    void setMessage(std::string_view key, std::string_view text) { messages_.setMessage(key, text); }
    std::string getMessages(std::string_view key) const { return messages_.getMessages(key); }

    // True when the file exists (hidden, system and read-only ones too) and
    // its name matches the path's last part, ignoring case.
    bool LangFileExists(const std::string& path) const;

    const std::string& Language() const { return language_; }
    const services::Identity& ProgramIdentity() const { return identity_; }

private:
    platform::FileSystem& files_;
    std::string programFolder_;
    services::Identity identity_;
    services::MessageCatalogue& messages_;
    std::string language_;
    std::size_t lineCount_ = 0;
    TranslationItems items_;
};

// The part of the path after its last backslash: the whole path when there
// is none, "" for "".
std::string LangTrimPath(std::string_view path);

}  // namespace bastion::ui
