// The feedback store in a PostgreSQL database, for any number of server
// instances on any number of hosts. Each instance keeps a few connections
// and hands them to its requests one at a time. A database that goes away
// makes the requests of that moment fail (the server answers 503); the
// next request after it is back connects anew.
//
// Reports that arrive together are stored together: while the connections
// are busy, new rows wait, and the next free connection stores all that
// wait in one statement, which is one commit (and one flush of the
// database's log) for all of them. Each is answered once that commit is
// done; a statement either stores all its rows or none.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
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
    // A row on its way: its texts are the caller's, who waits until done.
    struct Pending {
        bool falsePositive = false;
        std::string request;
        const std::string* first = nullptr;  // "data", or "files"
        const std::string* second = nullptr;  // "details"
        bool taken = false;  // by a statement under way
        bool done = false;
        bool stored = false;
    };
    // Queues the row and waits until a statement has stored it (or failed):
    // its own, with what else waits, when a connection is free, or
    // another's.
    bool Store(Pending& row);
    // One statement for rows of one table; a connection lost on the way is
    // replaced and the statement sent once more.
    bool InsertRows(const std::vector<Pending*>& rows);

    const std::string uri_;
    const std::size_t most_;
    std::mutex lock_;
    std::condition_variable freed_;
    std::vector<Connection> idle_;
    std::size_t open_ = 0;
    // Until then no new connection is tried: the last try failed.
    Clock::time_point downUntil_{};

    std::mutex queueLock_;
    std::condition_variable settled_;
    std::deque<Pending*> queue_;
    // Statements under way.
    std::size_t storing_ = 0;
};

}  // namespace defserver
