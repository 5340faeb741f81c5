// What users send back: the anonymous data and file names ("getData.asp")
// and false-positive reports ("submitFP.asp"), kept in an SQLite database
// in write-ahead-log mode, so that several server instances can share it.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace defserver {

class Feedback {
public:
    // Opens (creating when needed) the database; Ok() tells whether it
    // could.
    explicit Feedback(const std::string& path);
    ~Feedback();
    Feedback(const Feedback&) = delete;
    Feedback& operator=(const Feedback&) = delete;

    bool Ok() const { return db_ != nullptr; }
    bool AddData(const std::string& data);
    bool AddFalsePositive(const std::string& files, const std::string& details);
    // Rows of a table ("data" or "false_positives"), for tests and vendors.
    long long Count(const std::string& table);
    // The stored texts of a table in the order received: one entry per
    // row, its "data", or its "files" and "details".
    std::vector<std::vector<std::string>> Rows(const std::string& table);

private:
    bool Run(const char* sql, const std::string& first, const std::string* second);

    sqlite3* db_ = nullptr;
};

}  // namespace defserver
