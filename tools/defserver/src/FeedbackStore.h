// Where the server keeps what users send back: the anonymous data and file
// names ("getData.asp") and false-positive reports ("submitFP.asp"). The
// server talks to this interface only: SQLite serves one host, PostgreSQL
// any number of instances on any number of hosts. Both hold the same
// tables, made or brought up to date when the store is opened.
//
// A text is stored exactly as it arrived, whatever its bytes. An Add that
// returns true has stored its row once; one that returns false has stored
// nothing, or (when the database went away in the instant of its commit)
// the whole row: never part of one.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace defserver {

class FeedbackStore {
public:
    virtual ~FeedbackStore() = default;

    // False when the database cannot take the row now (down, locked, full):
    // the server answers 503 and the program may send it again later.
    virtual bool AddData(const std::string& data) = 0;
    virtual bool AddFalsePositive(const std::string& files, const std::string& details) = 0;
    // The stored texts of a table ("data" or "false_positives") in the
    // order received: one entry per row, its "data", or its "files" and
    // "details". For tests and vendors.
    virtual std::vector<std::vector<std::string>> Rows(const std::string& table) = 0;
};

struct FeedbackStoreOptions {
    // Connections one server process keeps open to a database server.
    std::size_t connections = 8;
};

// The store that --feedback names: a PostgreSQL connection URI
// ("postgresql://user@host:port/database") or the path of an SQLite
// database file, created when missing. nullptr, with the reason in error,
// when it cannot be opened or its tables cannot be made.
std::unique_ptr<FeedbackStore> OpenFeedbackStore(const std::string& location, std::string& error,
                                                 const FeedbackStoreOptions& options = {});

// Whether the location is a PostgreSQL connection URI.
bool IsPostgresUri(const std::string& location);
// The location as it may be shown: a password in a URI is left out.
std::string ShownLocation(const std::string& location);

// A new identity for one stored row: 32 hexadecimal digits, random, so
// that instances never make the same. A row sent again under its identity
// (after a connection was lost in the middle of its commit) is not stored
// twice.
std::string NewRowIdentity();

}  // namespace defserver
