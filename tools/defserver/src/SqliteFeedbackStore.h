// The feedback store in an SQLite database in write-ahead-log mode: several
// server processes on one host, on a local disk, can share it. A network
// file system does not keep SQLite's locks: there, the database breaks.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "FeedbackStore.h"

struct sqlite3;

namespace defserver {

class SqliteFeedbackStore final : public FeedbackStore {
public:
    // Opens (creating when needed) the database and brings its tables up
    // to date; nullptr, with the reason in error, when it cannot.
    static std::unique_ptr<SqliteFeedbackStore> Open(const std::string& path, std::string& error);
    ~SqliteFeedbackStore() override;
    SqliteFeedbackStore(const SqliteFeedbackStore&) = delete;
    SqliteFeedbackStore& operator=(const SqliteFeedbackStore&) = delete;

    bool AddData(const std::string& data) override;
    bool AddFalsePositive(const std::string& files, const std::string& details) override;
    std::vector<std::vector<std::string>> Rows(const std::string& table) override;

private:
    explicit SqliteFeedbackStore(sqlite3* db) : db_(db) {}
    bool Migrate(std::string& error);
    // Runs one statement with its texts bound in order.
    bool Run(const char* sql, const std::vector<const std::string*>& texts);

    sqlite3* db_;
    // One connection, one statement at a time.
    std::mutex lock_;
};

}  // namespace defserver
