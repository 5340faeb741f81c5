// The feedback requests as they leave the program: what they carry once
// the server has percent-decoded them, when their answers count, and that
// one runs at a time with its control disabled.
#include "app/pages/FeedbackPage.h"

#include <gtest/gtest.h>

#include "common/CodePage.h"
#include "common/Text.h"
#include "definitions/DefinitionCodec.h"
#include "report/Feedback.h"
#include "report/FeedbackRequests.h"
#include "services/messages/DefaultMessages.h"
#include "services/messages/MessageKeys.h"
#include "support/FakeBackgroundWork.h"
#include "support/FakeInternet.h"
#include "support/FakePlatform.h"
#include "support/FakeProcesses.h"
#include "support/FakeRegistry.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedEventPump.h"
#include "support/TestIdentity.h"
#include "update/UpdateAddresses.h"

namespace bastion {
namespace {

// What a server reads from a query value.
std::string PercentDecoded(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            out += static_cast<char>(std::stoi(std::string(value.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += value[i];
        }
    }
    return out;
}

// The decoded value of a parameter of a request address.
std::string Parameter(const std::string& url, const std::string& name) {
    const std::size_t start = url.find(name + "=");
    if (start == std::string::npos) return "<none>";
    const std::size_t from = start + name.size() + 1;
    return PercentDecoded(url.substr(from, url.find('&', from) - from));
}

// An internet whose every request also runs a probe first (what the window
// looks like while the request is out).
struct ProbingInternet : testing::FakeInternet {
    platform::HttpResult Request(const platform::HttpRequest& request, const platform::HttpWaiting& waiting) override {
        if (probe) probe();
        return FakeInternet::Request(request, waiting);
    }
    std::function<void()> probe;
};

struct FeedbackTest : ::testing::Test {
    FeedbackTest() {
        services::FillDefaultMessages(messages);
        internet.defaultResponse = {true, 200, "OK"};
        feedback.excludeTicked = [this] { ++excluded; };
        background.changed = [this](bool resumed) { timersOff += resumed ? -1 : 1; };
    }
    void Ticked(const std::string& location) {
        ui::ListView& results = form.lvwPicRemoveListOfSpywareFoundAndToBeRemoved;
        const std::size_t row = results.Add("Threat");
        results.SetSubItem(row, 1, location);
        results.SetChecked(row, true);
    }

    ProbingInternet internet;
    testing::FakeProcesses processes;
    testing::FakeRegistry registry;
    testing::ScriptedDialogs dialogs;
    testing::ScriptedEventPump pump;
    services::OperationGate operations;
    services::Identity identity = testing::TestIdentity();
    services::MessageCatalogue messages{identity};
    services::SettingsStore settings{registry, identity.productName};
    ui::FrmMain form;
    testing::FakePlatform machine;
    std::string dataFolder = "C:\\Data";
    testing::FakeBackgroundWork background;
    const services::Services program{
        {registry, machine.files, machine.shell, processes, machine.system, internet, machine.restore, machine.clock,
         Windows1252(), machine.instances, machine.crypto, machine.watcher},
        dialogs, pump, operations, messages, identity, settings, dataFolder, background};
    FeedbackPage feedback{program, form};
    int excluded = 0;
    int timersOff = 0;
    const std::string base = DefinitionServerBase(settings);
};

TEST(FeedbackAnswers, AcceptedOnlyWholeSuccessfulAndBeginningWithTheWord) {
    struct Case {
        platform::HttpResult answer;
        const char* word;
        bool accepted;
    };
    const Case cases[] = {
        {{true, 200, "OK"}, "OK", true},
        {{true, 200, " \r\nok\r\n"}, "OK", true},
        {{true, 204, "OK."}, "OK", true},
        {{true, 200, "Token invalid"}, "OK", false},
        {{true, 200, "OKAY, but no"}, "OK", false},
        {{true, 500, "OK"}, "OK", false},
        {{true, 200, "Added", platform::HttpFailure::Truncated}, "Added", false},
        {{false, 0, ""}, "Added", false},
        {{true, 200, "Skipped"}, "Skipped", true},
        {{true, 200, "Not Added"}, "Added", false},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(AnswerAccepts(each.answer, each.word), each.accepted)
            << each.answer.body << "/" << each.answer.status;
    }
}

TEST_F(FeedbackTest, AnonymousDataCarriesEveryOtherProgramWholeInBoundedRequests) {
    const std::vector<std::string> names = {"svchost.exe", "a&b#c%d+e f.exe", "System", "caf\xC3\xA9.exe",
                                            "explorer.exe"};
    std::uint32_t id = 1;
    for (const std::string& name : names) processes.Add({id++, name, name});
    for (int i = 0; i < 200; ++i) {
        const std::string name = "program-number-" + std::to_string(i) + ".exe";
        processes.Add({id++, name, name});
    }
    SendAnonymousData(program);

    ASSERT_GT(internet.requests.size(), 1u) << "too many names for one request";
    std::string data;
    for (const std::string& url : internet.requests) {
        EXPECT_LE(url.size(), kMaxRequestLength);
        EXPECT_EQ(url.rfind(base + "asp/getData.asp?data=", 0), 0u) << url;
        const std::string part = Parameter(url, "data");
        EXPECT_NE(part.back(), '|') << "no separator after the last name";
        data += (data.empty() ? "" : "|") + part;
    }
    std::string expected = EncodeDefinitionText("a&b#c%d+e f.exe") + "|" + EncodeDefinitionText("caf\xE9.exe");
    for (int i = 0; i < 200; ++i)
        expected += "|" + EncodeDefinitionText("program-number-" + std::to_string(i) + ".exe");
    EXPECT_EQ(data, expected);
    EXPECT_EQ(timersOff, 0);
}

TEST_F(FeedbackTest, AFileNameIsSubmittedOnceWithItsControlsDisabledAndTheAnswerJudged) {
    struct Case {
        std::string typed;
        std::string answer;
        std::string label;
    };
    const std::string name = "x&y#%+\xC3\xBC.exe";
    const Case cases[] = {
        {name, "Added", "Results: " + name + " submitted.  Thank you!"},
        {"  " + name + " ", "Skipped", "Results: " + name + " submitted.  Thank you!"},
        {name, "OK", "Results: There was a problem submitting " + name +
                         ".  Please make sure you are connected to the internet, or try again later."},
        {"   ", "Added", "unchanged"},
    };
    for (const Case& each : cases) {
        internet.requests.clear();
        internet.defaultResponse = {true, 200, each.answer};
        form.Label26.SetCaption("unchanged");
        form.txtFilename.SetText(each.typed);
        bool disabledWhileOut = false;
        internet.probe = [&] {
            disabledWhileOut = !form.cmdSubmit.Enabled() && !form.Command2.Enabled() && !form.txtFilename.Enabled();
            // A second submission inside the first sends nothing.
            form.txtFilename.SetText("second.exe");
            feedback.cmdSubmit_Click();
        };
        feedback.cmdSubmit_Click();
        EXPECT_EQ(form.Label26.Caption(), each.label);
        if (Trim(each.typed).empty()) {
            EXPECT_TRUE(internet.requests.empty()) << "an empty name sends nothing";
            continue;
        }
        ASSERT_EQ(internet.requests.size(), 1u);
        EXPECT_EQ(Parameter(internet.requests[0], "data"), EncodeDefinitionText("x&y#%+\xFC.exe") + "|");
        EXPECT_TRUE(disabledWhileOut);
        EXPECT_TRUE(form.cmdSubmit.Enabled() && form.Command2.Enabled() && form.txtFilename.Enabled());
        EXPECT_EQ(form.txtFilename.Text(), "");
    }
}

TEST_F(FeedbackTest, FalsePositivesArriveWholeAndOnlyAnAcceptedReportOffersTheExclusion) {
    Ticked("C:\\Program Files\\A & B\\tool #1.exe");
    Ticked("C:\\caf\xC3\xA9\\100% sure+.dll");
    const std::string description = "Harmless & signed.\r\nSee http://x.example/?a=1#top, 50% off + more";
    dialogs.AnswerMessageBox(services::MsgResult::Ok);
    dialogs.AnswerInputBox(description);
    dialogs.AnswerMessageBox(services::MsgResult::Yes);
    internet.probe = [&] { EXPECT_FALSE(form.cmdFalsePos.Enabled()); };
    feedback.cmdFalsePos_Click();

    ASSERT_EQ(internet.requests.size(), 1u);
    EXPECT_EQ(Parameter(internet.requests[0], "files"),
              "C:\\Program Files\\A & B\\tool #1.exe|C:\\caf\xC3\xA9\\100% sure+.dll|");
    EXPECT_EQ(Parameter(internet.requests[0], "details"), description);
    EXPECT_EQ(dialogs.Asked().back().text, messages.getMessages(services::msg::kFalsePos4));
    EXPECT_EQ(excluded, 1);
    EXPECT_TRUE(form.cmdFalsePos.Enabled());

    // An answer that merely contains the letters is a failure, told with
    // what the server said.
    internet.defaultResponse = {true, 200, "Token invalid"};
    dialogs.AnswerMessageBox(services::MsgResult::Ok);
    dialogs.AnswerInputBox("details");
    feedback.cmdFalsePos_Click();
    EXPECT_EQ(dialogs.Asked().back().text, messages.getMessages(services::msg::kFalsePos5) + "\r\n\r\nToken invalid");
    EXPECT_EQ(excluded, 1);
}

TEST_F(FeedbackTest, NothingIsSentWithoutDetailsOrWhenTheDetailsCannotFitARequest) {
    Ticked("C:\\a.exe");
    for (const std::string& details : {std::string("   "), std::string(kMaxRequestLength, 'x')}) {
        dialogs.AnswerMessageBox(services::MsgResult::Ok);
        dialogs.AnswerInputBox(details);
        feedback.cmdFalsePos_Click();
        EXPECT_TRUE(internet.requests.empty());
        EXPECT_EQ(dialogs.Asked().back().buttons, services::MsgButtons::Ok);
    }
    EXPECT_EQ(dialogs.AskedMessageBoxes()[1].text, messages.getMessages(services::msg::kFalsePos3));
    EXPECT_EQ(dialogs.AskedMessageBoxes()[3].text, messages.getMessages(services::msg::kTooLong));
}

}  // namespace
}  // namespace bastion
