// The feedback stores as instances of the server use them, in SQLite and in
// PostgreSQL alike (the PostgreSQL cases need the cluster that
// scripts/postgresql-cluster.sh starts, which ctest does): instances sharing
// one database, a database of the first release brought up to date, and a
// database that goes away and comes back.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <set>
#include <thread>

#include "FeedbackSchema.h"
#include "FeedbackStore.h"
#include "RunningServer.h"
#include "TestDatabase.h"

namespace defserver::test {
namespace {

namespace fs = std::filesystem;

class FeedbackStoreTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (database.Location().empty()) {
            if (std::getenv("BASTION_TEST_POSTGRESQL")) FAIL() << "no database in the PostgreSQL cluster";
            GTEST_SKIP() << "no PostgreSQL cluster (BASTION_TEST_POSTGRESQL)";
        }
        fs::create_directories(folder / "changes");
        std::ofstream(folder / "changes" / "a.changes") << "DATE 3/17/2006\nADD FILE evil.exe=Evil|[windir]|Adware\n";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::unique_ptr<FeedbackStore> Open() {
        std::string error;
        std::unique_ptr<FeedbackStore> store = OpenFeedbackStore(database.Location(), error);
        EXPECT_TRUE(store) << error;
        return store;
    }
    std::unique_ptr<RunningServer> Instance(const std::string& key = "") {
        ServerOptions options;
        options.changes = folder / "changes";
        options.feedbackPerMinute = 0;
        options.testControl = true;
        std::string error;
        std::unique_ptr<Signer> signer = key.empty() ? nullptr : Signer::Load(key, error);
        return std::make_unique<RunningServer>(options, Open(), std::move(signer));
    }

    TestDatabase database{GetParam(), "feedback"};
    const fs::path folder = fs::temp_directory_path() / ("defserver-store-" + std::to_string(::getpid()));
};

std::vector<std::string> Sorted(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::string> DataRows(FeedbackStore& store) {
    std::vector<std::string> texts;
    for (const auto& row : store.Rows("data")) texts.push_back(row.at(0));
    return texts;
}

TEST_P(FeedbackStoreTest, InstancesOnOneDatabaseStoreEveryReportOnceAndAnswerAlike) {
    std::string error;
    const std::string key = (folder / "key.pem").string();
    fs::create_directories(folder);
    ASSERT_TRUE(Signer::Generate(key, error)) << error;
    const std::unique_ptr<RunningServer> instances[] = {Instance(key), Instance(key)};

    // In turn, then from several clients at once; each text with bytes no
    // character set holds (the program sends its shifted encoding).
    std::vector<std::string> sent;
    for (int i = 0; i < 10; ++i) {
        sent.push_back("in turn " + std::to_string(i) + std::string("\x00\x80\xff|", 4));
        auto answer = instances[i % 2]->Get("/asp/getData.asp?data=" + Escaped(sent.back()));
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->body, "Added");
    }
    std::vector<std::string> together[4];
    std::vector<std::thread> clients;
    std::atomic<int> added{0};
    for (int client = 0; client < 4; ++client) {
        clients.emplace_back([&, client] {
            for (int i = 0; i < 15; ++i) {
                const std::string text = "client " + std::to_string(client) + " #" + std::to_string(i);
                auto answer = instances[(client + i) % 2]->Get("/asp/getData.asp?data=" + Escaped(text));
                if (answer && answer->body == "Added") ++added;
                together[client].push_back(text);
            }
        });
    }
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(added, 60);
    for (const auto& texts : together) sent.insert(sent.end(), texts.begin(), texts.end());
    EXPECT_EQ(instances[1]->Get("/asp/submitFP.asp?files=C:%5Ca.exe%7C&details=mine%20really")->body, "OK");

    const std::unique_ptr<FeedbackStore> reader = Open();
    EXPECT_EQ(Sorted(DataRows(*reader)), Sorted(sent)) << "none lost, none stored twice";
    EXPECT_EQ(reader->Rows("false_positives"), (std::vector<std::vector<std::string>>{{"C:\\a.exe|", "mine really"}}));
    // The test read-back gives the same rows through either instance.
    const std::string readBack = instances[0]->Get("/test/feedback?table=false_positives")->body;
    EXPECT_EQ(readBack, "9:C:\\a.exe|11:mine really");
    EXPECT_EQ(instances[1]->Get("/test/feedback?table=false_positives")->body, readBack);

    // Alike for the definitions too: the same date, and deltas that say
    // the same (each signed by its own hand) under the same tag.
    const std::string delta = "/asp/getDefsNEW.asp?prog=a&comp=b&date=3%2F16%2F2006";
    auto first = instances[0]->Get(delta);
    auto second = instances[1]->Get(delta);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->get_header_value("ETag"), second->get_header_value("ETag"));
    EXPECT_EQ(first->body.substr(0, first->body.rfind("SIGNATURE|")),
              second->body.substr(0, second->body.rfind("SIGNATURE|")));
    EXPECT_EQ(instances[0]->Get("/asp/date.asp")->body, instances[1]->Get("/asp/date.asp")->body);
}

TEST_P(FeedbackStoreTest, ADatabaseOfTheFirstReleaseIsBroughtUpToDateOnceWhateverOpensIt) {
    if (GetParam() == kSqlite) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(database.Location().c_str(), &db), SQLITE_OK);
        const std::string first = std::string(kFeedbackSchema[0].sqlite) + "INSERT INTO data (data) VALUES ('old');";
        EXPECT_EQ(sqlite3_exec(db, first.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    } else {
        ASSERT_TRUE(database.ExecInside(std::string(kFeedbackSchema[0].postgresql) +
                                        "INSERT INTO data (data) VALUES ('old');"));
    }
    // Instances that start together take the steps once between them.
    std::unique_ptr<FeedbackStore> stores[4];
    std::string errors[4];
    std::vector<std::thread> starts;
    for (int i = 0; i < 4; ++i) {
        starts.emplace_back([&, i] { stores[i] = OpenFeedbackStore(database.Location(), errors[i]); });
    }
    for (std::thread& start : starts) start.join();
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(stores[i]) << errors[i];
        EXPECT_TRUE(stores[i]->AddData("new " + std::to_string(i)));
    }
    const std::vector<std::string> rows = DataRows(*Open());
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], "old");
}

TEST_P(FeedbackStoreTest, ReportsArrivingTogetherAreStoredTogetherEachOnce) {
    // One connection for many senders: rows wait and go in together.
    std::string error;
    FeedbackStoreOptions one;
    one.connections = 1;
    const std::unique_ptr<FeedbackStore> store = OpenFeedbackStore(database.Location(), error, one);
    ASSERT_TRUE(store) << error;
    std::vector<std::thread> senders;
    std::atomic<int> stored{0};
    for (int sender = 0; sender < 16; ++sender) {
        senders.emplace_back([&, sender] {
            for (int i = 0; i < 10; ++i) {
                const std::string text = std::to_string(sender) + "/" + std::to_string(i);
                stored += i % 5 == 0 ? store->AddFalsePositive(text, "details " + text) : store->AddData(text);
            }
        });
    }
    for (std::thread& sender : senders) sender.join();
    EXPECT_EQ(stored, 160);
    std::set<std::string> data;
    for (const std::string& text : DataRows(*store)) EXPECT_TRUE(data.insert(text).second) << text;
    EXPECT_EQ(data.size(), 128u);
    const auto reports = store->Rows("false_positives");
    ASSERT_EQ(reports.size(), 32u);
    for (const auto& report : reports) EXPECT_EQ(report.at(1), "details " + report.at(0));
}

INSTANTIATE_TEST_SUITE_P(Stores, FeedbackStoreTest, ::testing::Values(kSqlite, kPostgres),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(PostgresFeedbackStore, ADatabaseThatGoesAwayAnswers503AndTheServerRecoversWhenItIsBack) {
    TestDatabase database(kPostgres, "away");
    if (database.Location().empty()) {
        if (std::getenv("BASTION_TEST_POSTGRESQL")) FAIL() << "no database in the PostgreSQL cluster";
        GTEST_SKIP() << "no PostgreSQL cluster (BASTION_TEST_POSTGRESQL)";
    }
    const fs::path folder = fs::temp_directory_path() / ("defserver-away-" + std::to_string(::getpid()));
    const std::unique_ptr<const fs::path, void (*)(const fs::path*)> removed(&folder, [](const fs::path* path) {
        fs::remove_all(*path);
    });
    fs::create_directories(folder / "changes");
    std::ofstream(folder / "changes" / "a.changes") << "DATE 3/17/2006\nADD FILE evil.exe=Evil|[windir]|Adware\n";
    ServerOptions options;
    options.changes = folder / "changes";
    options.feedbackPerMinute = 0;
    std::string error;
    RunningServer server(options, OpenFeedbackStore(database.Location(), error));
    ASSERT_TRUE(error.empty()) << error;
    const std::string terminate =
        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '" + database.Name() + "'";
    ASSERT_EQ(server.Get("/asp/getData.asp?data=before")->body, "Added");
    // A restart of the database ends the connections the server keeps: the
    // next report goes through on a new one, not refused.
    ASSERT_TRUE(database.Exec(terminate));
    ASSERT_EQ(server.Get("/asp/getData.asp?data=restarted")->body, "Added");

    // Its connections ended and no new one let in.
    ASSERT_TRUE(database.Exec("ALTER DATABASE " + database.Name() + " ALLOW_CONNECTIONS false"));
    ASSERT_TRUE(database.Exec(terminate));
    auto refused = server.Get("/asp/getData.asp?data=while%20away");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 503);
    EXPECT_TRUE(refused->has_header("Retry-After"));
    EXPECT_EQ(refused->body.find("ok"), std::string::npos);
    EXPECT_EQ(server.Get("/asp/date.asp")->status, 200) << "the definitions do not need the database";

    ASSERT_TRUE(database.Exec("ALTER DATABASE " + database.Name() + " ALLOW_CONNECTIONS true"));
    std::vector<std::string> added = {"before", "restarted"};
    for (int i = 0; i < 50 && added.size() < 4; ++i) {
        const std::string text = "after " + std::to_string(i);
        if (server.Get("/asp/getData.asp?data=" + Escaped(text))->body == "Added") {
            added.push_back(text);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    std::vector<std::string> stored;
    for (const auto& row : OpenFeedbackStore(database.Location(), error)->Rows("data")) stored.push_back(row.at(0));
    EXPECT_EQ(stored, added) << "what was answered Added, and nothing else";
}

}  // namespace
}  // namespace defserver::test
