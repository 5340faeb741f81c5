// Where the server keeps what users send back: the anonymous data and file
// names ("getData.asp") and false-positive reports ("submitFP.asp"). The
// server talks to this interface only; SQLite serves one host, and another
// database can stand behind it for many.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace defserver {

class FeedbackStore {
public:
    virtual ~FeedbackStore() = default;

    virtual bool AddData(const std::string& data) = 0;
    virtual bool AddFalsePositive(const std::string& files, const std::string& details) = 0;
    // The stored texts of a table ("data" or "false_positives") in the
    // order received: one entry per row, its "data", or its "files" and
    // "details". For tests and vendors.
    virtual std::vector<std::vector<std::string>> Rows(const std::string& table) = 0;
};

// The store that --feedback names: the path of an SQLite database file,
// created when missing. nullptr, with the reason in error, when it cannot
// be opened.
std::unique_ptr<FeedbackStore> OpenFeedbackStore(const std::string& location, std::string& error);

}  // namespace defserver
