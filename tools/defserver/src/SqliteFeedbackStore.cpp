#include "SqliteFeedbackStore.h"

#include <sqlite3.h>

namespace defserver {

std::unique_ptr<FeedbackStore> OpenFeedbackStore(const std::string& location, std::string& error) {
    return SqliteFeedbackStore::Open(location, error);
}

std::unique_ptr<SqliteFeedbackStore> SqliteFeedbackStore::Open(const std::string& path, std::string& error) {
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<SqliteFeedbackStore> store(new SqliteFeedbackStore(db));
    if (opened != SQLITE_OK) {
        error = "cannot open the feedback database " + path + ": " + sqlite3_errmsg(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    const char* schema =
        "PRAGMA journal_mode=WAL;"
        "CREATE TABLE IF NOT EXISTS data (id INTEGER PRIMARY KEY, received TEXT DEFAULT CURRENT_TIMESTAMP,"
        " data TEXT NOT NULL);"
        "CREATE TABLE IF NOT EXISTS false_positives (id INTEGER PRIMARY KEY,"
        " received TEXT DEFAULT CURRENT_TIMESTAMP, files TEXT NOT NULL, details TEXT NOT NULL);";
    if (sqlite3_exec(db, schema, nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = "cannot use the feedback database " + path + ": " + sqlite3_errmsg(db);
        return nullptr;
    }
    return store;
}

SqliteFeedbackStore::~SqliteFeedbackStore() { sqlite3_close(db_); }

bool SqliteFeedbackStore::Run(const char* sql, const std::string& first, const std::string* second) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) return false;
    sqlite3_bind_text(statement, 1, first.data(), static_cast<int>(first.size()), SQLITE_TRANSIENT);
    if (second) sqlite3_bind_text(statement, 2, second->data(), static_cast<int>(second->size()), SQLITE_TRANSIENT);
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
}

bool SqliteFeedbackStore::AddData(const std::string& data) {
    return Run("INSERT INTO data (data) VALUES (?)", data, nullptr);
}

bool SqliteFeedbackStore::AddFalsePositive(const std::string& files, const std::string& details) {
    return Run("INSERT INTO false_positives (files, details) VALUES (?, ?)", files, &details);
}

std::vector<std::vector<std::string>> SqliteFeedbackStore::Rows(const std::string& table) {
    std::vector<std::vector<std::string>> rows;
    const char* sql = table == "data"              ? "SELECT data FROM data ORDER BY id"
                      : table == "false_positives" ? "SELECT files, details FROM false_positives ORDER BY id"
                                                   : nullptr;
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
