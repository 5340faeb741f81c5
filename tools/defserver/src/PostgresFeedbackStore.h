// The feedback store in a PostgreSQL database, for any number of server
// instances on any number of hosts. Each instance keeps a few connections
// and hands them to its requests one at a time. A database that goes away
// makes the requests of that moment fail (the server answers 503); the
// next request after it is back connects anew.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "FeedbackStore.h"

struct pg_conn;

namespace defserver {

class PostgresFeedbackStore final : public FeedbackStore {
public:
    // Connects (uri: a libpq connection URI) and brings the tables up to
    // date; nullptr, with the reason in error, when it cannot.
    static std::unique_ptr<PostgresFeedbackStore> Open(const std::string& uri, std::size_t connections,
                                                       std::string& error);
    ~PostgresFeedbackStore() override;
    PostgresFeedbackStore(const PostgresFeedbackStore&) = delete;
    PostgresFeedbackStore& operator=(const PostgresFeedbackStore&) = delete;

    bool AddData(const std::string& data) override;
    bool AddFalsePositive(const std::string& files, const std::string& details) override;
    std::vector<std::vector<std::string>> Rows(const std::string& table) override;

private:
    struct Closer {
        void operator()(pg_conn* connection) const;
    };
    using Connection = std::unique_ptr<pg_conn, Closer>;
    using Clock = std::chrono::steady_clock;

    PostgresFeedbackStore(std::string uri, std::size_t connections);
    Connection Connect(std::string& error) const;
    bool Migrate(pg_conn* connection, std::string& error) const;
    // An idle connection, or a new one while fewer than the most are open;
    // empty when none comes free in time or the database cannot be reached.
    Connection Take();
    // Back to the idle ones; a connection that was lost is closed, and so
    // are the idle ones, which were most likely lost with it.
    void Give(Connection connection);
    // Stores one row (its identity first among the values, the rest bytes);
    // a connection lost on the way is replaced and the row sent once more.
    bool Insert(const char* sql, const std::vector<const std::string*>& values);

    const std::string uri_;
    const std::size_t most_;
    std::mutex lock_;
    std::condition_variable freed_;
    std::vector<Connection> idle_;
    std::size_t open_ = 0;
    // Until then no new connection is tried: the last try failed.
    Clock::time_point downUntil_{};
};

}  // namespace defserver
