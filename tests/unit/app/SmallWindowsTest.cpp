// The results list's mouse commands, the sibling launcher and the website
// opener.
#include <gtest/gtest.h>

#include "app/App.h"
#include "app/ResultsListCommands.h"
#include "app/SiblingLauncher.h"
#include "app/WebsiteOpener.h"
#include "support/FakePlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TestIdentity.h"
#include "ui/forms/FrmMain.h"

namespace bastion {
namespace {

using testing::ShellCall;

TEST(ResultsListTest, DoubleClickOpensTheRegistryEditorOrTheItemsFolder) {
    testing::FakeShell shell;
    ui::FrmMain form;
    ui::ListView& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    auto add = [&](int icon, const std::string& location) {
        const std::size_t row = results.Add("Threat", icon);
        results.SetSubItem(row, 1, location);
    };
    add(ui::kIconRegistry, "HKEY_LOCAL_MACHINE\\Software\\Spy");
    add(ui::kIconFile, "C:\\Program Files\\Spy\\spy.exe");
    add(ui::kIconFolder, "C:\\Program Files\\Spy\\");
    add(ui::kIconFile, "C:\\Spy, Inc\\spy.exe");
    add(ui::kIconFile, "D:\\spy.exe");
    for (std::size_t row = 0; row < 5; ++row) lvwResults_DblClick(results, row, shell);
    lvwResults_DblClick(results, 5, shell);  // no such row
    // From the Windows folder by full path, the folder quoted whole.
    const std::string explorer = "\"C:\\WINDOWS\\explorer.exe\" ";
    EXPECT_EQ(
        shell.calls,
        (std::vector<ShellCall>{
            {ShellCall::Kind::StartProgram, "\"C:\\WINDOWS\\regedit.exe\"", platform::ShowWindow::Minimized},
            {ShellCall::Kind::StartProgram, explorer + "\"C:\\Program Files\\Spy\"", platform::ShowWindow::Normal},
            {ShellCall::Kind::StartProgram, explorer + "\"C:\\Program Files\\Spy\"", platform::ShowWindow::Normal},
            {ShellCall::Kind::StartProgram, explorer + "\"C:\\Spy, Inc\"", platform::ShowWindow::Normal},
            {ShellCall::Kind::StartProgram, explorer + "D:\\", platform::ShowWindow::Normal}}));
}

TEST(ResultsListTest, HeaderClickSortsANonEmptyListDescendingFirstThenTurns) {
    ui::FrmMain form;
    ui::ListView& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
    lvwResults_ColumnClick(results, 0);
    EXPECT_FALSE(results.Sorted()) << "an empty list is left alone";

    for (const char* name : {"b", "a", "c"}) results.Add(name);
    lvwResults_ColumnClick(results, 0);
    EXPECT_EQ(results.Item(0).text, "c");
    EXPECT_EQ(results.Item(2).text, "a");
    lvwResults_ColumnClick(results, 0);
    EXPECT_EQ(results.Item(0).text, "a");
    lvwResults_ColumnClick(results, 9);  // no such column: nothing happens
    EXPECT_EQ(results.Item(0).text, "a");
}

struct SiblingLauncherTest : ::testing::Test {
    void Register(const std::string& section, const std::string& file) {
        settings.WriteSetting("Kestrune", section, "Name", "Veru-Dedezi");
        settings.WriteSetting("Kestrune", section, "File", file);
    }
    void Launch() {
        cmdHijack_Click({settings, identity, machine.files, machine.shell, dialogs, messages});
    }

    testing::FakePlatform machine;
    testing::ScriptedDialogs dialogs;
    services::Identity identity = testing::TestIdentity();
    services::SettingsStore settings{machine.registry, identity.productName};
    const services::MessageCatalogue messages = ProgramMessages(identity);
};

TEST_F(SiblingLauncherTest, RunsAnExistingSiblingQuotedOrSaysItIsGone) {
    const std::string file = "C:\\Program Files\\Veru Dedezi\\VeruDedezi.exe";
    Register(identity.companyName, file);
    Launch();
    EXPECT_TRUE(machine.shell.calls.empty());
    ASSERT_EQ(dialogs.Asked().size(), 1u);
    EXPECT_EQ(dialogs.Asked()[0].text, "Sorry, the following file no longer exists: \r\n" + file);
    EXPECT_EQ(dialogs.Asked()[0].title, "Testwall");
    EXPECT_EQ(dialogs.Asked()[0].buttons, services::MsgButtons::Ok);

    machine.files.AddFile(file);
    Launch();
    EXPECT_EQ(machine.shell.calls, (std::vector<ShellCall>{{ShellCall::Kind::StartProgram, "\"" + file + "\"",
                                                            platform::ShowWindow::Normal}}));
    EXPECT_EQ(dialogs.Asked().size(), 1u);
}

TEST_F(SiblingLauncherTest, StartsTheProductItsCaptionNames) {
    // The program titled "Zembrid" finds its sibling's name under
    // "Orvandel"; the file must come from there too.
    identity.programTitle = "Zembrid";
    machine.files.AddFile("C:\\Orvandel\\Sibling.exe");
    machine.files.AddFile("C:\\Other\\Other.exe");
    Register("Orvandel", "C:\\Orvandel\\Sibling.exe");
    settings.WriteSetting("Kestrune", identity.companyName, "File", "C:\\Other\\Other.exe");
    Launch();
    ASSERT_EQ(machine.shell.calls.size(), 1u);
    EXPECT_EQ(machine.shell.calls[0].target, "\"C:\\Orvandel\\Sibling.exe\"");
}

TEST(WebsiteOpenerTest, PrefixesAddressesWithoutASchemeAndClosesAfterItsTimer) {
    EXPECT_EQ(WebsiteUrl("www.testwall.example"), "http://www.testwall.example");
    EXPECT_EQ(WebsiteUrl("http://testwall.example"), "http://testwall.example");
    EXPECT_EQ(WebsiteUrl("https://testwall.example/x"), "https://testwall.example/x");
    EXPECT_EQ(WebsiteUrl("HTTPS://testwall.example"), "HTTPS://testwall.example");

    testing::FakeShell shell;
    const services::Identity identity = testing::TestIdentity();
    WebsiteOpener opener(identity, shell);
    EXPECT_FALSE(opener.Visible());
    opener.Open();
    EXPECT_TRUE(opener.Visible());
    EXPECT_TRUE(opener.form.Timer1.Enabled());
    EXPECT_EQ(opener.form.Timer1.Interval(), 1000u);
    EXPECT_EQ(shell.calls, (std::vector<ShellCall>{{ShellCall::Kind::Open, "http://www.testwall.example",
                                                     platform::ShowWindow::Normal}}));
    opener.form.Timer1.Tick();
    EXPECT_FALSE(opener.Visible());
    EXPECT_FALSE(opener.form.Timer1.Enabled());
}

}  // namespace
}  // namespace bastion
