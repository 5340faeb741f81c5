#include "SqliteFeedbackStore.h"

#include <sqlite3.h>

#include "FeedbackSchema.h"

namespace defserver {

namespace {

// How long a statement waits for another process's write to end.
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

std::unique_ptr<SqliteFeedbackStore> SqliteFeedbackStore::Open(const std::string& path, std::string& error) {
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<SqliteFeedbackStore> store(new SqliteFeedbackStore(db));
    if (opened != SQLITE_OK) {
        error = "cannot open the feedback database " + path + ": " + sqlite3_errmsg(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (!store->Migrate(error)) {
        error = "cannot use the feedback database " + path + ": " + error;
        return nullptr;
    }
    return store;
}

bool SqliteFeedbackStore::Migrate(std::string& error) {
    auto exec = [this, &error](const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
        error = sqlite3_errmsg(db_);
        return false;
    };
    // The log mode is the file's, set outside a transaction; the steps run
    // in one, so that a process starting beside this one waits, then finds
    // them taken.
    if (!exec("PRAGMA journal_mode=WAL") || !exec("BEGIN IMMEDIATE")) return false;
    int version = 0;
    bool done = exec(kSchemaVersionTable);
    sqlite3_stmt* statement = nullptr;
    if (done && sqlite3_prepare_v2(db_, "SELECT max(version) FROM schema_version", -1, &statement, nullptr) == SQLITE_OK) {
        if (sqlite3_step(statement) == SQLITE_ROW) version = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    for (std::size_t step = static_cast<std::size_t>(version); done && step < kFeedbackSchema.size(); ++step) {
        done = exec(kFeedbackSchema[step].sqlite);
    }
    const std::string record = "DELETE FROM schema_version; INSERT INTO schema_version VALUES (" +
                               std::to_string(kFeedbackSchema.size()) + ")";
    if (done && static_cast<std::size_t>(version) < kFeedbackSchema.size()) done = exec(record.c_str());
    if (done && exec("COMMIT")) return true;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

SqliteFeedbackStore::~SqliteFeedbackStore() { sqlite3_close(db_); }

bool SqliteFeedbackStore::Run(const char* sql, const std::vector<const std::string*>& texts) {
    std::lock_guard<std::mutex> hold(lock_);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) return false;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        sqlite3_bind_text(statement, static_cast<int>(i + 1), texts[i]->data(), static_cast<int>(texts[i]->size()),
                          SQLITE_TRANSIENT);
    }
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
}

bool SqliteFeedbackStore::AddData(const std::string& data) {
    const std::string request = NewRowIdentity();
    return !request.empty() && Run("INSERT INTO data (request, data) VALUES (?, ?)", {&request, &data});
}

bool SqliteFeedbackStore::AddFalsePositive(const std::string& files, const std::string& details) {
    const std::string request = NewRowIdentity();
    return !request.empty() &&
           Run("INSERT INTO false_positives (request, files, details) VALUES (?, ?, ?)", {&request, &files, &details});
}

std::vector<std::vector<std::string>> SqliteFeedbackStore::Rows(const std::string& table) {
    std::vector<std::vector<std::string>> rows;
    const char* sql = table == "data"              ? "SELECT data FROM data ORDER BY id"
                      : table == "false_positives" ? "SELECT files, details FROM false_positives ORDER BY id"
                                                   : nullptr;
    std::lock_guard<std::mutex> hold(lock_);
    sqlite3_stmt* statement = nullptr;
    if (!sql || sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) return rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            row.emplace_back(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        }
    }
    sqlite3_finalize(statement);
    return rows;
}

}  // namespace defserver
