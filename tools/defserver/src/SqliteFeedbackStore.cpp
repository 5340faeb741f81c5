#include "Feedback.h"

#include <sqlite3.h>

namespace defserver {

Feedback::Feedback(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    sqlite3_busy_timeout(db_, 5000);
    const char* schema =
        "PRAGMA journal_mode=WAL;"
        "CREATE TABLE IF NOT EXISTS data (id INTEGER PRIMARY KEY, received TEXT DEFAULT CURRENT_TIMESTAMP,"
        " data TEXT NOT NULL);"
        "CREATE TABLE IF NOT EXISTS false_positives (id INTEGER PRIMARY KEY,"
        " received TEXT DEFAULT CURRENT_TIMESTAMP, files TEXT NOT NULL, details TEXT NOT NULL);";
    if (sqlite3_exec(db_, schema, nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

Feedback::~Feedback() {
    if (db_) sqlite3_close(db_);
}

bool Feedback::Run(const char* sql, const std::string& first, const std::string* second) {
    if (!db_) return false;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) return false;
    sqlite3_bind_text(statement, 1, first.data(), static_cast<int>(first.size()), SQLITE_TRANSIENT);
    if (second) sqlite3_bind_text(statement, 2, second->data(), static_cast<int>(second->size()), SQLITE_TRANSIENT);
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
}

bool Feedback::AddData(const std::string& data) { return Run("INSERT INTO data (data) VALUES (?)", data, nullptr); }

bool Feedback::AddFalsePositive(const std::string& files, const std::string& details) {
    return Run("INSERT INTO false_positives (files, details) VALUES (?, ?)", files, &details);
}

long long Feedback::Count(const std::string& table) {
    if (!db_ || (table != "data" && table != "false_positives")) return -1;
    sqlite3_stmt* statement = nullptr;
    const std::string sql = "SELECT COUNT(*) FROM " + table;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return -1;
    long long count = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    return count;
}

std::vector<std::vector<std::string>> Feedback::Rows(const std::string& table) {
    std::vector<std::vector<std::string>> rows;
    const char* sql = table == "data"              ? "SELECT data FROM data ORDER BY id"
                      : table == "false_positives" ? "SELECT files, details FROM false_positives ORDER BY id"
                                                   : nullptr;
    sqlite3_stmt* statement = nullptr;
    if (!db_ || !sql || sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) return rows;
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
