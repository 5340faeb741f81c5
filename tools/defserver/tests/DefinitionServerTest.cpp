// The reference server's answers for a folder of dated change sets, through
// HTTP on 127.0.0.1, and the starter definitions the build made from its
// own change log.
#include <httplib.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ChangeLog.h"
#include "DefinitionServer.h"
#include "DeltaEncoding.h"
#include "FeedbackStore.h"
#include "RateLimiter.h"
#include "Signing.h"
#include "common/Base64.h"
#include "definitions/DefinitionCodec.h"
#include "common/Lines.h"
#include "common/Text.h"
#include "update/DefinitionDelta.h"

namespace defserver {
namespace {

namespace fs = std::filesystem;

// Written a while ago, as a set copied elsewhere and renamed into the
// folder: the server reads it at once.
void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(1));
}

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
        fs::create_directories(folder / "languages" / "7");
        Write(folder / "changes" / "a.changes",
              "# first\nDATE 3/17/2006\nADD FILE evil.exe=Evil|[windir]|Adware\nADD COOK tracker.example\n"
              "ADD REG 1^Software\\Evil^Run=Evil Run|Adware\nBOGUS line\nADD NOPE x\n");
        Write(folder / "changes" / "b.changes", "DATE 5/1/2024 2:30:00 PM\nDEL FILE evil.exe\nADD SFILE safe.exe=Safe|[windir]\n");
        Write(folder / "changes" / "notes.md", "DATE 1/1/2030\nADD FILE ignored.exe=x|y|z\n");
        Write(folder / "languages" / "7" / "Localization.txt", "<LANGUAGE_GROUP>x</LANGUAGE_GROUP>\r\n");
    }
    // The server on a free port of 127.0.0.1, with the options as changed.
    void Start(const std::function<void(ServerOptions&)>& change = {}, std::unique_ptr<Signer> signer = nullptr) {
        ServerOptions options;
        options.changes = folder / "changes";
        options.languages = folder / "languages";
        options.requestLog = folder / "requests.log";
        options.slowPauseMs = 50;
        options.report = [this](const std::string& problem) { reported.push_back(problem); };
        if (change) change(options);
        std::string error;
        server = std::make_unique<DefinitionServer>(
            options, OpenFeedbackStore((folder / "feedback.sqlite").string(), error), std::move(signer));
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
        client.set_read_timeout(std::chrono::seconds(2));
        return client.Get(target.c_str());
    }
    // The first line of the server's answer to raw request bytes.
    std::string StatusLine(const std::string& request) {
        const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        std::string answer;
        if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::send(socket, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
            char buffer[256];
            const ssize_t received = ::recv(socket, buffer, sizeof(buffer), 0);
            if (received > 0) answer.assign(buffer, static_cast<std::size_t>(received));
        }
        ::close(socket);
        return answer.substr(0, answer.find("\r\n"));
    }

    fs::path folder;
    std::unique_ptr<DefinitionServer> server;
    std::thread thread;
    int port = 0;
    std::vector<std::string> reported;
};

TEST_F(DefinitionServerTest, AnswersTheLatestDateAndTheChangesAfterTheClientsDate) {
    Start();
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
    // What cannot be sent was told when the folder was first read.
    EXPECT_EQ(reported.size(), 2u);
}

TEST_F(DefinitionServerTest, WithTheVendorsKeyEveryDeltaAndTranslationFileIsSigned) {
    std::string error;
    std::unique_ptr<Signer> signer = Signer::Generate((folder / "key.pem").string(), error);
    ASSERT_TRUE(signer) << error;
    const std::string publicKey = signer->PublicKey();
    ASSERT_EQ(publicKey.size(), 65u);
    Start({}, std::move(signer));
    // The signed part and the signature of an answer.
    auto split = [&](const std::string& answer) {
        const std::size_t at = answer.rfind("[BR]SIGNATURE|");
        EXPECT_NE(at, std::string::npos);
        const std::string signedPart = answer.substr(0, at);
        EXPECT_TRUE(VerifySignature(publicKey, signedPart,
                                    bastion::Base64Decode(answer.substr(at + 14)).value_or("")));
        return signedPart;
    };
    const std::string query = "/asp/getDefsNEW.asp?prog=a&comp=b&date=";
    const std::string all = split(Get(query + "3%2F16%2F2006")->body);
    EXPECT_EQ(all.substr(0, all.find("[BR]")), "DELTA|3/16/2006|5/1/2024 2:30:00 PM|5");
    EXPECT_EQ(Records(all).size(), 5u) << "the header is no record";
    // From the date of the last set the client holds, whatever text it
    // sent; to no earlier than from.
    const std::string later = split(Get(query + "03%2F18%2F2006%2001%3A00%20PM")->body);
    EXPECT_EQ(later.substr(0, later.find("[BR]")), "DELTA|3/17/2006|5/1/2024 2:30:00 PM|2");
    EXPECT_EQ(split(Get(query + "6%2F1%2F2024")->body), "DELTA|5/1/2024 2:30:00 PM|5/1/2024 2:30:00 PM|0[BR]");
    // Every answer names its kind: a translation file cannot pass for a
    // delta, nor a delta for a date.
    EXPECT_EQ(split(Get("/Languages/7/Localization.txt")->body),
              "LANGUAGE|7|<LANGUAGE_GROUP>x</LANGUAGE_GROUP>\r\n");
    const std::time_t before = std::time(nullptr);
    const std::string date = split(Get("/asp/currentDateNEW.asp?prog=a&comp=b")->body);
    const std::vector<std::string> fields = bastion::Split(date, "|");
    ASSERT_EQ(fields.size(), 3u) << date;
    EXPECT_EQ(fields[0], "DATE");
    EXPECT_EQ(fields[1], "5/1/2024 2:30:00 PM");
    std::tm issued{};
    ASSERT_NE(::strptime(fields[2].c_str(), "%Y-%m-%dT%H:%M:%SZ", &issued), nullptr) << fields[2];
    EXPECT_LE(std::abs(::timegm(&issued) - before), 2) << "issued now, in UTC";
    EXPECT_EQ(Get("/asp/date.asp")->body, "5/1/2024 2:30:00 PM") << "nobody who checks signatures asks it";
    // Tampered bytes do not verify.
    EXPECT_FALSE(VerifySignature(publicKey, all + " ", bastion::Base64Decode(
                                                           Get(query + "3%2F16%2F2006")->body.substr(all.size() + 14))
                                                           .value_or("")));
}

TEST_F(DefinitionServerTest, MakesAndSignsADeltaOncePerSetTheClientLacksWhateverDateTextItSends) {
    std::string error;
    Start({}, Signer::Generate((folder / "key.pem").string(), error));
    const std::string query = "/asp/getDefsNEW.asp?prog=a&comp=b&date=";
    // Every second of a day asks for the same sets: one answer, one
    // signature (which differs each time one is made).
    const std::string first = Get(query + "3%2F17%2F2006%200%3A00%3A01")->body;
    for (const char* date : {"3%2F17%2F2006%200%3A00%3A02", "3%2F18%2F2006", "4%2F30%2F2024%2011%3A59%3A59%20PM",
                             "03%2F17%2F2006%2000%3A00%3A03"}) {
        EXPECT_EQ(Get(query + date)->body, first) << date;
    }
    // A date before the first day's is the first day's.
    EXPECT_EQ(Get(query + "1%2F1%2F2000")->body, Get(query + "3%2F16%2F2006")->body);
}

TEST_F(DefinitionServerTest, FeedbackThatWaitsOnTheDatabaseHoldsOnlyItsShareOfThreadsAndClosesItsConnection) {
    // A database that has stopped answering, until the test lets it go.
    class StalledStore final : public FeedbackStore {
    public:
        bool AddData(const std::string&) override {
            std::unique_lock<std::mutex> hold(lock);
            ++waiting;
            changed.notify_all();
            changed.wait(hold, [this] { return released; });
            return true;
        }
        bool AddFalsePositive(const std::string& files, const std::string&) override { return AddData(files); }
        std::vector<std::vector<std::string>> Rows(const std::string&) override { return {}; }
        std::mutex lock;
        std::condition_variable changed;
        int waiting = 0;
        bool released = false;
    };
    auto store = std::make_unique<StalledStore>();
    StalledStore& stalled = *store;
    ServerOptions options;
    options.changes = folder / "changes";
    options.threads = 8;
    options.feedbackAtOnce = 3;
    options.feedbackPerMinute = 0;
    DefinitionServer stalling(options, std::move(store));
    const int stallingPort = stalling.Bind("127.0.0.1", 0);
    ASSERT_GT(stallingPort, 0);
    std::thread serving([&] { stalling.Listen(); });
    auto get = [stallingPort](const std::string& target) {
        httplib::Client client("127.0.0.1", stallingPort);
        client.set_read_timeout(std::chrono::seconds(30));
        return client.Get(target.c_str());
    };

    std::vector<std::thread> held;
    std::vector<int> statuses(3, 0);
    for (int i = 0; i < 3; ++i) {
        held.emplace_back([&, i] { statuses[i] = get("/asp/getData.asp?data=x")->status; });
    }
    {
        std::unique_lock<std::mutex> hold(stalled.lock);
        ASSERT_TRUE(stalled.changed.wait_for(hold, std::chrono::seconds(30), [&] { return stalled.waiting == 3; }));
    }
    // Three threads wait on the database; more feedback is refused at
    // once, and its connection is not kept; the definitions are served.
    for (int i = 0; i < 10; ++i) {
        const httplib::Result refused = get("/asp/submitFP.asp?files=a&details=b");
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->status, 503);
        EXPECT_EQ(refused->get_header_value("Connection"), "close");
        EXPECT_EQ(get("/asp/currentDateNEW.asp?prog=a&comp=b")->status, 200);
    }
    {
        std::lock_guard<std::mutex> hold(stalled.lock);
        stalled.released = true;
        stalled.changed.notify_all();
    }
    for (std::thread& each : held) each.join();
    EXPECT_EQ(statuses, (std::vector<int>{200, 200, 200}));
    stalling.Stop();
    serving.join();
}

TEST_F(DefinitionServerTest, StoresFeedbackWithinEachAddresssShareAndAnswersAsTheClientExpects) {
    Start([](ServerOptions& options) { options.feedbackPerMinute = 3; });
    EXPECT_EQ(Get("/asp/getData.asp?data=abc%7C")->body, "Added");
    EXPECT_EQ(Get("/asp/submitFP.asp?files=C:%5Ca.exe%7C&details=it%20is%20mine")->body, "OK");
    EXPECT_EQ(Get("/asp/getData.asp?data=def")->status, 200);
    // Without a trusted proxy, a forwarded address is not believed.
    httplib::Client other("127.0.0.1", port);
    auto refused = other.Get("/asp/getData.asp?data=ghi", {{"X-Forwarded-For", "203.0.113.9"}});
    EXPECT_EQ(refused->status, 429);
    EXPECT_EQ(refused->body.rfind("ERROR", 0), 0u);
    // The definitions are not part of the feedback's share.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Get("/asp/date.asp")->status, 200);
    std::string error;
    const auto store = OpenFeedbackStore((folder / "feedback.sqlite").string(), error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->Rows("data").size(), 2u);
    EXPECT_EQ(store->Rows("false_positives"), (std::vector<std::vector<std::string>>{{"C:\\a.exe|", "it is mine"}}));

    RateLimiter limiter(2);
    const auto start = RateLimiter::Clock::now();
    EXPECT_TRUE(limiter.Allow("a", start));
    EXPECT_TRUE(limiter.Allow("a", start));
    EXPECT_FALSE(limiter.Allow("a", start + std::chrono::seconds(59)));
    EXPECT_TRUE(limiter.Allow("b", start));
    EXPECT_TRUE(limiter.Allow("a", start + std::chrono::seconds(61)));
}

TEST_F(DefinitionServerTest, TagsDefinitionAnswersSoThatRepeatsGet304AndSeesANewSetWithinSeconds) {
    Start();
    const std::string delta = "/asp/getDefsNEW.asp?prog=a&comp=b&date=3%2F17%2F2006";
    for (const std::string& path : {std::string("/asp/currentDateNEW.asp?prog=a&comp=b"), delta,
                                   std::string("/Languages/7/Localization.txt")}) {
        auto fresh = Get(path);
        ASSERT_TRUE(fresh);
        const std::string tag = fresh->get_header_value("ETag");
        const std::string changed = fresh->get_header_value("Last-Modified");
        EXPECT_FALSE(tag.empty() || changed.empty()) << path;
        EXPECT_EQ(fresh->get_header_value("Cache-Control"), "no-cache") << path;
        httplib::Client client("127.0.0.1", port);
        for (const httplib::Headers& held : {httplib::Headers{{"If-None-Match", tag}},
                                             httplib::Headers{{"If-Modified-Since", changed}}}) {
            auto repeat = client.Get(path.c_str(), held);
            ASSERT_TRUE(repeat);
            EXPECT_EQ(repeat->status, 304) << path;
            EXPECT_EQ(repeat->body, "");
        }
        EXPECT_EQ(client.Get(path.c_str(), {{"If-None-Match", "W/\"other\""}})->status, 200);
    }
    EXPECT_EQ(Get("/asp/getData.asp?data=x")->get_header_value("Cache-Control"), "no-store");

    // A new set, published while the server runs: served within a couple
    // of seconds, under new tags.
    const std::string oldTag = Get(delta)->get_header_value("ETag");
    Write(folder / "changes" / "c.changes", "DATE 5/2/2024\nADD COOK new.example\n");
    std::string date;
    for (int i = 0; i < 40 && date != "5/2/2024"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        date = Get("/asp/date.asp")->body;
    }
    EXPECT_EQ(date, "5/2/2024");
    httplib::Client client("127.0.0.1", port);
    auto changed = client.Get(delta.c_str(), {{"If-None-Match", oldTag}});
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->status, 200);
    EXPECT_EQ(Records(changed->body).size(), 3u);
}

TEST_F(DefinitionServerTest, BehindATrustedProxyCountsEachClientsShare) {
    Start([](ServerOptions& options) {
        options.feedbackPerMinute = 1;
        options.trustedProxies = {"127.0.0.1"};
    });
    httplib::Client client("127.0.0.1", port);
    auto from = [&](const std::string& forwarded) {
        return client.Get("/asp/getData.asp?data=x", {{"X-Forwarded-For", forwarded}})->status;
    };
    EXPECT_EQ(from("203.0.113.1"), 200);
    EXPECT_EQ(from("203.0.113.2"), 200);
    EXPECT_EQ(from("203.0.113.1"), 429);
    // The address the proxy saw is the last; what the client claims before
    // it counts for nothing.
    EXPECT_EQ(from("198.51.100.7, 203.0.113.2"), 429);
    EXPECT_EQ(from("203.0.113.3, 127.0.0.1"), 200) << "a chain of trusted proxies is passed over";
    // Lines of their own are one list: the proxy appended to the last.
    auto twoLines = client.Get("/asp/getData.asp?data=x",
                               {{"X-Forwarded-For", "203.0.113.4"}, {"X-Forwarded-For", "203.0.113.1"}});
    EXPECT_EQ(twoLines->status, 429);
    // An IPv6 subscriber holds a /64 whole: its addresses share one count.
    EXPECT_EQ(from("2001:db8:1:2::1"), 200);
    EXPECT_EQ(from("2001:db8:1:2:ffff:ffff:ffff:fffe"), 429);
    EXPECT_EQ(from("2001:db8:1:3::1"), 200);

    const std::pair<const char*, const char*> buckets[] = {
        {"2001:db8:1:2:3:4:5:6", "2001:db8:1:2::/64"}, {"::ffff:203.0.113.5", "203.0.113.5"},
        {"203.0.113.5", "203.0.113.5"}, {"not an address", "not an address"}};
    for (const auto& [address, bucket] : buckets) EXPECT_EQ(AddressBucket(address), bucket) << address;
}

TEST_F(DefinitionServerTest, TheRequestLogKeepsToItsSize) {
    Start([](ServerOptions& options) { options.requestLogBytes = 400; });
    for (int i = 0; i < 40; ++i) Get("/asp/date.asp?n=" + std::to_string(i));
    EXPECT_LE(fs::file_size(folder / "requests.log"), 400u);
    EXPECT_LE(fs::file_size(folder / "requests.log.1"), 400u);
    EXPECT_NE(Read(folder / "requests.log").find("/asp/date.asp?n=39\n"), std::string::npos);
}

TEST_F(DefinitionServerTest, CapsBodiesAndAddressesAndMisbehavesOnlyUnderTestControl) {
    Start();
    // The body is refused by its length, before a byte of it is read.
    EXPECT_EQ(StatusLine("POST /asp/date.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 52428800\r\n\r\n"),
              "HTTP/1.1 413 Payload Too Large");
    EXPECT_EQ(StatusLine("GET /asp/date.asp?x=" + std::string(kMaxRequestUri, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n"),
              "HTTP/1.1 414 URI Too Long");
    for (const char* mode : {"status", "html", "short", "slow", "trickle", "hang"}) {
        EXPECT_EQ(Get(std::string("/misbehave/") + mode + "/asp/date.asp")->status, 404) << mode;
    }
}

TEST_F(DefinitionServerTest, MisbehavesOnRequest) {
    Start([](ServerOptions& options) { options.testControl = true; });
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
    // No answer within the client's two seconds.
    EXPECT_FALSE(Get("/misbehave/hang" + date));
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
