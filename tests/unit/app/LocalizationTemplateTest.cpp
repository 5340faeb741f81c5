// The English template the build writes from the program's own windows and
// messages, read back through the translation service.
#include <gtest/gtest.h>

#include "app/App.h"
#include "app/ProgramWindows.h"
#include "common/Text.h"
#include "support/FakeFileSystem.h"
#include "support/TestIdentity.h"
#include "ui/translation/ClsLanguages.h"
#include "ui/translation/FormTexts.h"
#include "ui/translation/LocalizationTemplate.h"

namespace bastion::ui {
namespace {

constexpr const char* kFolder = "C:\\Program Files\\Testwall";
constexpr const char* kFile = "C:\\Program Files\\Testwall\\Localization.txt";

TEST(LocalizationTemplate, ReadsBackToTheProgramsOwnTextsThroughTheService) {
    ProgramWindows windows;
    windows.restore.lblInfo.SetCaption("First line\r\nsecond line, > and & kept");
    const services::MessageCatalogue catalogue = ProgramMessages(testing::TestIdentity());
    const std::string text = makeLocalizationFile(windows.All(), catalogue);
    EXPECT_TRUE(CheckLocalizationFile(text, windows.All(), catalogue).errors.empty());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            EXPECT_EQ(text.substr(i, 2), "\r\n") << "at " << i;
        }
        if (text[i] == '\n') {
            EXPECT_EQ(text[i - 1], '\r') << "at " << i;
        }
    }

    // Read back into windows whose texts were lost: every text returns.
    testing::FakeFileSystem files;
    files.AddFile(kFile, text);
    services::MessageCatalogue messages = ProgramMessages(testing::TestIdentity());
    clsLanguages languages(files, kFolder, testing::TestIdentity(), messages);
    ProgramWindows blank;
    ProgramWindows original;
    original.restore.lblInfo.SetCaption(windows.restore.lblInfo.Caption());
    const std::vector<Form*> blanks = blank.All();
    const std::vector<Form*> originals = original.All();
    languages.LoadLanguage("English");
    for (std::size_t i = 0; i < blanks.size(); ++i) {
        std::vector<FormText> before = TranslatableTexts(*originals[i]);
        for (FormText& each : TranslatableTexts(*blanks[i])) each.set("?");
        languages.TranslateWindow(*blanks[i]);
        std::vector<FormText> after = TranslatableTexts(*blanks[i]);
        ASSERT_EQ(after.size(), before.size()) << blanks[i]->Name();
        for (std::size_t t = 0; t < after.size(); ++t) {
            EXPECT_EQ(after[t].text, ReplaceCaptionPlaceholders(UpperFirst(before[t].text), testing::TestIdentity()))
                << after[t].key;
        }
    }
}

}  // namespace
}  // namespace bastion::ui
