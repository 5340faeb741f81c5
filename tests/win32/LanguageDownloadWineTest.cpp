// The language download through Wine's WinINet from the reference server:
// a whole file replaces "Localization.txt" beside the program and the list
// shows its languages at once; an error status, an error page, an answer
// cut short or a missing file keep the old file, and the user is told.
#include <gtest/gtest.h>

#include "DefinitionServerProcess.h"
#include "app/LanguageWindow.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Registry.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingKeys.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion::win32::test {
namespace {

namespace keys = services::settings;

services::Identity LanguageIdentity() {
    services::Identity identity = testing::TestIdentity();
    identity.productName = "Bastion Language Test";
    identity.brandingNumber = 7;
    return identity;
}

std::string Block(const std::string& name, const std::string& home) {
    return "<LANGUAGE_GROUP>\r\n\t<LANGUAGE_NAME>" + name + "</LANGUAGE_NAME>\r\n\t<TRANSLATION_ITEMS>\r\n" +
           "\t\t<FRMMAIN_CMDSTATUS>" + home + "</FRMMAIN_CMDSTATUS>\r\n\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>";
}

class LanguageDownloadWineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Running());
        // The program folder is the test program's: its file is ours for
        // the test.
        path = app.languages.LocalizationPath();
        ASSERT_TRUE(files.WriteFile(path, kOld));
        app.settings.Write(keys::kLanguage, "English");
    }
    ~LanguageDownloadWineTest() override {
        files.DeleteFile(path);
        registry.DeleteTree(platform::Hive::CurrentUser,
                            "Software\\VB and VBA Program Settings\\" + app.identity.productName);
    }

    const std::vector<std::string>& Listed() const { return language.form.Combo1.Items(); }

    const std::string kOld = Block("English", "Home") + "\r\n" + Block("Deutsch", "Übersicht") + "\r\n";
    DefinitionServerProcess server;
    Win32Registry registry;
    Win32FileSystem files;
    Win32Platform platform;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    App app{platform.Get(), dialogs, pump, LanguageIdentity()};
    LanguageWindow language{app};
    std::string path;
};

TEST_F(LanguageDownloadWineTest, AWholeFileReplacesTheOldAndAFailureKeepsIt) {
    // A byte-order mark and a blank line before the first tag, as an
    // editor may save it.
    const std::string served = "\xEF\xBB\xBF\r\n<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" +
                               Block("English", "Home") + "\r\n" + Block("Español", "Inicio") + "\r\n" +
                               Block("Français", "Accueil") + "\r\n";
    server.PublishLanguageFile(7, served);

    struct Case {
        const char* misbehaviour;
        bool replaced;
    };
    const Case cases[] = {{"status", false}, {"html", false}, {"short", false}, {"", true}};
    for (const Case& each : cases) {
        app.settings.Write(keys::kLanguageServer, server.Base(each.misbehaviour));
        language.Form_Load();
        language.Command1_Click();
        const std::string stored = files.ReadFile(path).value_or("<missing>");
        ASSERT_FALSE(dialogs.Asked().empty());
        if (each.replaced) {
            EXPECT_EQ(stored, served.substr(served.find('<')) + "\r\n");
            EXPECT_EQ(Listed(), (std::vector<std::string>{"English", "Español", "Français"}));
            EXPECT_EQ(dialogs.Asked().back().text, app.messages.getMessages(services::msg::kDownloaded));
        } else {
            EXPECT_EQ(stored, kOld) << each.misbehaviour;
            EXPECT_EQ(Listed(), (std::vector<std::string>{"English", "Deutsch"})) << each.misbehaviour;
            EXPECT_EQ(dialogs.Asked().back().text, app.messages.getMessages(services::msg::kLanguageFailed))
                << each.misbehaviour;
        }
        EXPECT_TRUE(language.form.Command1.Enabled());
    }

    // A branding the server has no file for keeps the file as well.
    files.WriteFile(path, kOld);
    app.settings.Write(keys::kLanguageServer, server.Base() + "nothing-here/");
    language.Command1_Click();
    EXPECT_EQ(files.ReadFile(path).value_or("<missing>"), kOld);
    EXPECT_EQ(dialogs.Asked().back().text, app.messages.getMessages(services::msg::kLanguageFailed));
}

TEST_F(LanguageDownloadWineTest, AKeyedProgramStoresOnlyAFileTheVendorsServerSigned) {
    DefinitionKey key;
    DefinitionKey other;
    ASSERT_EQ(key.PublicKey().size(), 65u);
    DefinitionServerProcess signing(&key);
    ASSERT_TRUE(signing.Running());
    const std::string served = Block("English", "Home") + "\r\n" + Block("Español", "Inicio") + "\r\n";
    signing.PublishLanguageFile(7, served);
    server.PublishLanguageFile(7, served);

    // Unsigned, or signed by a key the program does not hold: the old file
    // stays, and the user is told why.
    for (const auto& [base, publicKey] : {std::pair{server.Base(), key.PublicKey()},
                                          std::pair{signing.Base(), other.PublicKey()},
                                          std::pair{signing.Base("tamper"), key.PublicKey()}}) {
        app.settings.Write(keys::kLanguageServer, base);
        app.trust.publicKey = publicKey;
        language.Command1_Click();
        EXPECT_EQ(files.ReadFile(path).value_or("<missing>"), kOld) << base;
        EXPECT_EQ(dialogs.Asked().back().text, app.messages.getMessages(services::msg::kLanguageNotVerified)) << base;
    }

    app.settings.Write(keys::kLanguageServer, signing.Base());
    app.trust.publicKey = key.PublicKey();
    language.Command1_Click();
    // Stored without the signature record.
    EXPECT_EQ(files.ReadFile(path).value_or("<missing>"), served + "\r\n");
    EXPECT_EQ(dialogs.Asked().back().text, app.messages.getMessages(services::msg::kDownloaded));
}

}  // namespace
}  // namespace bastion::win32::test
