// What an instance keeps between requests: the deltas it made (bounded, the
// least recently used going first, emptied by a new folder version), the
// folder as last looked at (once a second at most), and the conditions
// under which a repeated request gets 304.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "DeltaCache.h"
#include "HttpCaching.h"
#include "PublishedChanges.h"

namespace defserver {
namespace {

namespace fs = std::filesystem;

TEST(DeltaCache, KeepsWhatWasUsedLastWithinItsBytesAndForgetsAllWhenTheFolderChanges) {
    // Room for two answers of 1,000 bytes, not three.
    DeltaCache cache(2 * (1000 + 500));
    auto made = [](const std::string& text) { return [text] { return CachedAnswer{std::string(1000, 'x'), text}; }; };
    auto tagOf = [&](std::uint64_t version, const std::string& key) {
        return cache.Get(version, key, made(key + "@" + std::to_string(version)))->tag;
    };
    EXPECT_EQ(tagOf(1, "a"), "a@1");
    EXPECT_EQ(tagOf(1, "b"), "b@1");
    EXPECT_EQ(tagOf(1, "a"), "a@1");
    EXPECT_EQ(cache.Made(), 2u);
    EXPECT_EQ(tagOf(1, "c"), "c@1");  // b, used least recently, goes
    EXPECT_EQ(tagOf(1, "a"), "a@1");
    EXPECT_EQ(cache.Made(), 3u);
    EXPECT_EQ(tagOf(1, "b"), "b@1");
    EXPECT_EQ(cache.Made(), 4u);
    EXPECT_LE(cache.Bytes(), 3000u);

    // A new version: everything made anew; a request still on the old one
    // gets its own answer, which is not kept.
    EXPECT_EQ(tagOf(2, "a"), "a@2");
    EXPECT_EQ(tagOf(1, "a"), "a@1");
    EXPECT_EQ(tagOf(2, "a"), "a@2");
    EXPECT_EQ(cache.Made(), 6u);

    // An answer bigger than the whole cache is served, not kept.
    DeltaCache small(100);
    for (int i = 0; i < 2; ++i) small.Get(1, "a", made("big"));
    EXPECT_EQ(small.Made(), 2u);
    EXPECT_EQ(small.Bytes(), 0u);
}

TEST(DeltaCache, ClientsAskingTogetherWaitForOneAnswer) {
    DeltaCache cache(1 << 20);
    std::atomic<int> making{0};
    std::vector<std::thread> clients;
    std::atomic<int> answered{0};
    for (int i = 0; i < 8; ++i) {
        clients.emplace_back([&] {
            const auto answer = cache.Get(1, "3/16/2006", [&] {
                ++making;
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return CachedAnswer{"delta", "tag"};
            });
            if (answer->body == "delta") ++answered;
        });
    }
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(making, 1);
    EXPECT_EQ(answered, 8);
}

class PublishedChangesTest : public ::testing::Test {
protected:
    PublishedChangesTest() { fs::create_directories(root); }
    ~PublishedChangesTest() override { fs::remove_all(root); }
    void Publish(const std::string& name, const std::string& text) {
        std::ofstream(root / name, std::ios::binary) << text;
    }

    const fs::path root = fs::temp_directory_path() / ("defserver-published-" + std::to_string(::getpid()));
    PublishedChanges::Clock::time_point now{};
    PublishedChanges changes{root, nullptr, [] { return *bastion::ParseGeneralDate("5/31/2024"); },
                             std::chrono::seconds(1), [this] { return now; }, std::chrono::seconds(0)};
};

TEST_F(PublishedChangesTest, LooksAtTheFolderAtMostOnceASecondAndCountsAVersionPerChange) {
    Publish("a.changes", "DATE 3/17/2006\nADD FILE a.exe=A|[windir]|Adware\n");
    const auto first = changes.Current();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->date, "3/17/2006");
    EXPECT_EQ(first->dateTag, EntityTag("3/17/2006"));
    EXPECT_LE(first->lastModified, std::time(nullptr));

    Publish("b.changes", "DATE 4/1/2006\nADD FILE b.exe=B|[windir]|Adware\n");
    now += std::chrono::milliseconds(900);
    EXPECT_EQ(changes.Current(), first) << "not looked at again within the second";
    now += std::chrono::milliseconds(200);
    const auto second = changes.Current();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->date, "4/1/2006");
    EXPECT_GT(second->version, first->version);
    EXPECT_GE(second->lastModified, first->lastModified);

    // Written again as it was: nothing to serve anew.
    Publish("b.changes", "DATE 4/1/2006\nADD FILE b.exe=B|[windir]|Adware\n");
    now += std::chrono::seconds(2);
    EXPECT_EQ(changes.Current(), second);

    fs::remove_all(root);
    now += std::chrono::seconds(2);
    EXPECT_FALSE(changes.Current()) << "a folder that went has no date";
    fs::create_directories(root);
    Publish("a.changes", "DATE 3/17/2006\nADD FILE a.exe=A|[windir]|Adware\n");
    now += std::chrono::seconds(2);
    const auto back = changes.Current();
    ASSERT_TRUE(back);
    EXPECT_GT(back->version, second->version);
}

TEST(HttpCaching, ARequestThatHoldsTheAnswerIsToldItIsNotModified) {
    const std::string tag = EntityTag("5/1/2024 2:30:00 PM");
    const std::time_t changed = *ParseHttpDate("Wed, 01 May 2024 14:30:00 GMT");
    EXPECT_EQ(HttpDate(changed), "Wed, 01 May 2024 14:30:00 GMT");
    EXPECT_EQ(tag.rfind("W/\"", 0), 0u);
    EXPECT_NE(tag, EntityTag("5/1/2024 2:30:01 PM"));
    struct Case {
        std::string ifNoneMatch;
        std::string ifModifiedSince;
        bool notModified;
    };
    const std::string strong = tag.substr(2);
    const std::string listed = "\"other\", " + tag;
    const Case cases[] = {
        {tag, "", true},
        {strong, "", true},  // tags compare weakly
        {listed, "", true},
        {"\"other\"", "", false},
        {"*", "", true},
        // A request that names tags is judged by them alone.
        {"\"other\"", "Wed, 01 May 2024 14:30:00 GMT", false},
        {"", "Wed, 01 May 2024 14:30:00 GMT", true},
        {"", "Thu, 02 May 2024 00:00:00 GMT", true},
        {"", "Wed, 01 May 2024 14:29:59 GMT", false},
        {"", "yesterday", false},
        {"", "", false},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(NotModified(each.ifNoneMatch, each.ifModifiedSince, tag, changed), each.notModified)
            << each.ifNoneMatch << " / " << each.ifModifiedSince;
    }
}

}  // namespace
}  // namespace defserver
