// The feedback tables, the same in SQLite and PostgreSQL, as the steps that
// make them from nothing or bring an older database up to date. A
// database records the last step it has taken in "schema_version"; the
// first release's SQLite files have no such table and start at step 1,
// whose statements leave their tables as they are.
//
//   data             id, received, data, request
//   false_positives  id, received, files, details, request
//
// "id" numbers the rows in the order they were stored; "received" is the
// time (UTC); the texts are kept as the bytes that arrived (PostgreSQL's
// text type would refuse the shifted bytes of the program's encoding);
// "request" is the row's identity (see NewRowIdentity), unique.
#pragma once

#include <array>

namespace defserver {

struct SchemaStep {
    const char* sqlite;
    const char* postgresql;
};

inline constexpr const char* kSchemaVersionTable = "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)";

inline constexpr std::array<SchemaStep, 2> kFeedbackSchema{{
    {"CREATE TABLE IF NOT EXISTS data (id INTEGER PRIMARY KEY, received TEXT DEFAULT CURRENT_TIMESTAMP,"
     " data TEXT NOT NULL);"
     "CREATE TABLE IF NOT EXISTS false_positives (id INTEGER PRIMARY KEY,"
     " received TEXT DEFAULT CURRENT_TIMESTAMP, files TEXT NOT NULL, details TEXT NOT NULL);",
     "CREATE TABLE IF NOT EXISTS data (id BIGSERIAL PRIMARY KEY,"
     " received TIMESTAMP DEFAULT (now() AT TIME ZONE 'UTC'), data BYTEA NOT NULL);"
     "CREATE TABLE IF NOT EXISTS false_positives (id BIGSERIAL PRIMARY KEY,"
     " received TIMESTAMP DEFAULT (now() AT TIME ZONE 'UTC'), files BYTEA NOT NULL, details BYTEA NOT NULL);"},
    {"ALTER TABLE data ADD COLUMN request TEXT;"
     "CREATE UNIQUE INDEX data_request ON data (request);"
     "ALTER TABLE false_positives ADD COLUMN request TEXT;"
     "CREATE UNIQUE INDEX false_positives_request ON false_positives (request);",
     "ALTER TABLE data ADD COLUMN request TEXT;"
     "CREATE UNIQUE INDEX data_request ON data (request);"
     "ALTER TABLE false_positives ADD COLUMN request TEXT;"
     "CREATE UNIQUE INDEX false_positives_request ON false_positives (request);"},
}};

}  // namespace defserver
