// The reference server's answers for a folder of dated change sets, through
// HTTP on 127.0.0.1, and the starter definitions the build made from its
// own change log.
#include <httplib.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "ChangeLog.h"
#include "DefinitionServer.h"
#include "DeltaEncoding.h"
#include "Feedback.h"
#include "definitions/DefinitionCodec.h"
#include "common/Lines.h"
#include "update/DefinitionDelta.h"

namespace defserver {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The decoded kind, action and body (its plain "|" and "=" kept) of each
// record of a delta.
std::vector<std::string> Records(const std::string& delta) {
    std::vector<std::string> records;
    for (const bastion::DeltaRecord& record : bastion::ParseDefinitionDelta(delta).records) {
        std::string body;
        for (char c : record.body) {
            body += (c == '|' || c == '=') ? std::string(1, c) : bastion::DecodeDefinitionText(std::string(1, c));
        }
        records.push_back(record.kind + (record.action == bastion::DeltaAction::Add ? " ADD " : " DEL ") + body);
    }
    return records;
}

class DefinitionServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("defserver-test-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "changes");
        Write(folder / "changes" / "a.changes",
              "# first\nDATE 3/17/2006\nADD FILE evil.exe=Evil|[windir]|Adware\nADD COOK tracker.example\n"
              "ADD REG 1^Software\\Evil^Run=Evil Run|Adware\nBOGUS line\nADD NOPE x\n");
        Write(folder / "changes" / "b.changes", "DATE 5/1/2024 2:30:00 PM\nDEL FILE evil.exe\nADD SFILE safe.exe=Safe|[windir]\n");
        Write(folder / "changes" / "notes.md", "DATE 1/1/2030\nADD FILE ignored.exe=x|y|z\n");
        ServerOptions options;
        options.changes = folder / "changes";
        options.feedback = (folder / "feedback.sqlite").string();
        options.requestLog = folder / "requests.log";
        options.slowPauseMs = 50;
        server = std::make_unique<DefinitionServer>(options);
        port = server->Bind("127.0.0.1", 0);
        ASSERT_GT(port, 0);
        thread = std::thread([this] { server->Listen(); });
    }
    void TearDown() override {
        if (server) server->Stop();
        if (thread.joinable()) thread.join();
        server.reset();
        fs::remove_all(folder);
    }

    httplib::Result Get(const std::string& target) {
        httplib::Client client("127.0.0.1", port);
        return client.Get(target.c_str());
    }

    fs::path folder;
    std::unique_ptr<DefinitionServer> server;
    std::thread thread;
    int port = 0;
};

TEST_F(DefinitionServerTest, AnswersTheLatestDateAndTheChangesAfterTheClientsDate) {
    for (const char* path : {"/asp/currentDateNEW.asp?prog=Bastion&comp=Bastion%20Software", "/asp/date.asp"}) {
        auto answer = Get(path);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->status, 200);
        EXPECT_EQ(answer->body, "5/1/2024 2:30:00 PM");
    }
    const std::string query = "/asp/getDefsNEW.asp?prog=Bastion&comp=Bastion%20Software&date=";
    auto everything = Get(query + "3%2F16%2F2006");
    ASSERT_TRUE(everything);
    EXPECT_EQ(Records(everything->body),
              (std::vector<std::string>{"FILE ADD evil.exe=Evil|[windir]|Adware", "COOK ADD tracker.example",
                                        // K=V|P1|P2, K being the stored line's text before "=".
                                        "REG ADD 1^Software\\Evil^Run^=Evil Run|1^Software\\Evil^Run|Adware",
                                        "FILE DEL evil.exe", "SFILE ADD safe.exe=Safe|[windir]"}));
    auto later = Get(query + "3%2F17%2F2006%2012%3A00%3A01%20AM");
    ASSERT_TRUE(later);
    EXPECT_EQ(Records(later->body).size(), 2u);
    auto none = Get(query + "5%2F1%2F2024%202%3A30%3A00%20PM");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->body, "");
    EXPECT_EQ(Get(query + "garbage")->status, 400);
    // Every request is in the log, as sent.
    EXPECT_NE(Read(folder / "requests.log").find("/asp/getDefsNEW.asp?prog=Bastion&comp=Bastion%20Software&date=3%2F16%2F2006\n"),
              std::string::npos);
}

TEST_F(DefinitionServerTest, StoresFeedbackAndAnswersAsTheClientExpects) {
    EXPECT_EQ(Get("/asp/getData.asp?data=abc%7C")->body, "Added");
    EXPECT_EQ(Get("/asp/submitFP.asp?files=C:%5Ca.exe%7C&details=it%20is%20mine")->body, "OK");
    Feedback feedback((folder / "feedback.sqlite").string());
    EXPECT_EQ(feedback.Count("data"), 1);
    EXPECT_EQ(feedback.Count("false_positives"), 1);
}

TEST_F(DefinitionServerTest, MisbehavesOnRequest) {
    const std::string date = "/asp/currentDateNEW.asp?prog=a&comp=b";
    EXPECT_EQ(Get("/misbehave/status" + date)->status, 500);
    auto html = Get("/misbehave/html" + date);
    EXPECT_EQ(html->status, 200);
    EXPECT_NE(html->body.find("<html>"), std::string::npos);
    auto slow = Get("/misbehave/slow" + date);
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->body, "5/1/2024 2:30:00 PM");
    // The connection ends before the announced length: no whole answer.
    auto cut = Get("/misbehave/short" + date);
    EXPECT_TRUE(!cut || cut->body != "5/1/2024 2:30:00 PM");
}

TEST(ChangeLog, LeavesOutWhatCannotBeSentAndSaysWhere) {
    std::vector<std::string> problems;
    bool valid = false;
    const ChangeSet set = ParseChangeSet(
        "DATE 3/17/2006\nADD FILE a<b.exe=x|y|z\nADD FILE \xC3\xBC.exe=x|y|z\nADD REG 1^Software\\NoThreat\n"
        "ADD FILE ok.exe=Ok|[windir]|Adware\n",
        "set.txt", problems, valid);
    EXPECT_TRUE(valid);
    ASSERT_EQ(set.changes.size(), 1u);
    EXPECT_EQ(set.changes[0].text, "ok.exe=Ok|[windir]|Adware");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].rfind("set.txt:2: ", 0), 0u);
}

TEST(StarterDefinitions, AreTheWholeChangeLogAppliedToNothing) {
    const ChangeLog log = ReadChangeLog(BASTION_STARTER_CHANGES);
    EXPECT_TRUE(log.problems.empty());
    for (const auto& [name, content] : StarterFiles(log)) {
        EXPECT_EQ(Read(fs::path(BASTION_STARTER_OUT) / name), content) << name;
    }
    std::vector<std::string> files;
    for (const std::string& line : bastion::SplitLines(Read(fs::path(BASTION_STARTER_OUT) / "FileDefinition.dat"))) {
        files.push_back(bastion::DecodeDefinitionText(line));
    }
    EXPECT_EQ(files, (std::vector<std::string>{"bastion-test-file.txt=Bastion.TestFile|[personl]|Testfile"}));
    EXPECT_EQ(Read(fs::path(BASTION_STARTER_OUT) / "date.dat"), "3/17/2006\r\n");
}

}  // namespace
}  // namespace defserver
