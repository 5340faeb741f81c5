// The feedback requests through Wine's WinINet to the reference server,
// read back from what the server stored: names, locations and descriptions
// full of characters that mean something in an address ("&", "#", "%",
// "+", "=", "?", blanks), letters beyond ASCII and line breaks arrive byte
// for byte.
#include <gtest/gtest.h>

#include "DefinitionServerProcess.h"
#include "app/pages/FeedbackPage.h"
#include "common/CodePage.h"
#include "definitions/DefinitionCodec.h"
#include "platform/win32/Win32Registry.h"
#include "report/Feedback.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/MessageKeys.h"
#include "services/settings/SettingKeys.h"
#include "support/FakeBackgroundWork.h"
#include "support/FakePlatform.h"
#include "support/FakeProcesses.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"

namespace bastion::win32::test {
namespace {

class FeedbackWineTest : public ::testing::Test {
protected:
    FeedbackWineTest() {
        identity.productName = "Bastion Feedback Test";
        services::FillDefaultMessages(messages);
    }
    void SetUp() override {
        ASSERT_TRUE(server.Running());
        settings.Write(services::settings::kDefinitionServer, server.Base());
    }
    ~FeedbackWineTest() override {
        registry.DeleteTree(platform::Hive::CurrentUser,
                            "Software\\VB and VBA Program Settings\\" + identity.productName);
    }
    void Ticked(const std::string& location) {
        ui::ListView& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
        const std::size_t row = results.Add("Threat");
        results.SetSubItem(row, 1, location);
        results.SetChecked(row, true);
    }

    DefinitionServerProcess server;
    Win32Registry registry;
    Win32Internet internet;
    testing::FakeProcesses processes;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    services::OperationGate operations;
    services::Identity identity = testing::TestIdentity();
    services::MessageCatalogue messages{identity};
    services::SettingsStore settings{registry, identity.productName};
    ui::FrmMain form;
    // The facilities feedback does not use.
    testing::FakePlatform machine;
    std::string dataFolder = "C:\\Data";
    testing::FakeBackgroundWork background;
    const services::Services program{
        {registry, machine.files, machine.shell, processes, machine.system, internet, machine.restore, machine.clock,
         Windows1252(), machine.instances, machine.crypto, machine.watcher},
        dialogs, pump, operations, messages, identity, settings, dataFolder, background};
    FeedbackPage feedback{program, form};
};

TEST_F(FeedbackWineTest, HostileTextsArriveByteForByte) {
    const std::string hostile = "a&b=c#d%25e+f ?g/h;i\xC3\xA9\xC3\xBC";
    // The anonymous data: running programs with such names, in the
    // definition encoding the names are stored in.
    processes.Add({1, hostile + ".exe", hostile + ".exe"});
    processes.Add({2, "caf\xC3\xA9 & co.exe", "caf\xC3\xA9 & co.exe"});
    SendAnonymousData(program);
    // The file name submission.
    form.txtFilename.SetText(hostile + ".dll");
    feedback.cmdSubmit_Click();
    EXPECT_EQ(form.Label26.Caption(), "Results: " + hostile + ".dll submitted.  Thank you!");
    EXPECT_EQ(server.StoredFeedback("data"),
              (std::vector<std::string>{EncodeDefinitionText("a&b=c#d%25e+f ?g/h;i\xE9\xFC.exe") + "|" +
                                            EncodeDefinitionText("caf\xE9 & co.exe"),
                                        EncodeDefinitionText("a&b=c#d%25e+f ?g/h;i\xE9\xFC.dll") + "|"}));

    // The false-positive report: locations and a description of several
    // lines, accepted, and the exclusion declined.
    Ticked("C:\\Program Files\\" + hostile + "\\tool #1.exe");
    Ticked("C:\\100% sure+\\x&y.dll");
    const std::string description =
        "Signed & harmless.\r\nSee http://x.example/?a=1&b=2#top, 50% + more\r\n\xC3\xA9t\xC3\xA9";
    dialogs.AnswerMessageBox(services::MsgResult::Ok);
    dialogs.AnswerInputBox(description);
    dialogs.AnswerMessageBox(services::MsgResult::No);
    feedback.cmdFalsePos_Click();
    EXPECT_EQ(dialogs.Asked().back().text, messages.getMessages(services::msg::kFalsePos4));
    EXPECT_EQ(server.StoredFeedback("false_positives"),
              (std::vector<std::string>{"C:\\Program Files\\" + hostile + "\\tool #1.exe|C:\\100% sure+\\x&y.dll|",
                                        description}));
}

}  // namespace
}  // namespace bastion::win32::test
