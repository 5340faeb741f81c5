// "Localization.txt", as a download or a file edited by hand: the language
// blocks and their items, the check a downloaded file must pass before it
// is stored, and the whole file applied to the main window and the
// messages in each language it names.
#include "common/Text.h"
#include "harness/FuzzTarget.h"
#include "services/messages/DefaultMessages.h"
#include "support/FakeFileSystem.h"
#include "support/TestIdentity.h"
#include "ui/forms/FrmMain.h"
#include "ui/translation/ClsLanguages.h"
#include "ui/translation/LocalizationFile.h"

using namespace bastion;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsBytes(data, size);

    // A stored download must itself read as a file with a whole language.
    if (const std::optional<std::string> stored = ui::AcceptedLanguageFile(text)) {
        FUZZ_CHECK(!stored->empty() && stored->front() == '<');
        bool whole = false;
        for (const ui::LanguageBlock& block : ui::LanguageBlocks(*stored)) {
            whole = whole || (!block.name.empty() && block.items);
        }
        FUZZ_CHECK(whole);
    }

    for (const ui::LanguageBlock& block : ui::LanguageBlocks(text)) {
        if (!block.items) continue;
        const ui::TranslationItems items(*block.items);
        for (const std::string& key : items.Keys()) {
            FUZZ_CHECK(items.Find(key).has_value());
            FUZZ_CHECK(items.Find(ToLower(key)) == items.Find(key));
        }
    }

    const std::string folder = "C:\\Program Files\\Fuzz";
    testing::FakeFileSystem files;
    files.AddFolder(folder);
    files.AddFile(folder + "\\Localization.txt", std::string(text));
    services::MessageCatalogue messages{testing::TestIdentity()};
    services::FillDefaultMessages(messages);
    ui::clsLanguages languages(files, folder, testing::TestIdentity(), messages);
    ui::FrmMain form;
    for (const std::string& name : languages.LanguageNames()) {
        languages.ChangeLanguage(form, name);
        languages.getCaption("FRMMAIN_CMDSCAN");
    }
    languages.ChangeLanguage(form, "");
    return 0;
}
