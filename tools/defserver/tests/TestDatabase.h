// A feedback database of its own for one test: an SQLite file in a
// temporary folder, or a database made for the test in the private
// PostgreSQL cluster that scripts/postgresql-cluster.sh started (the
// environment variable BASTION_TEST_POSTGRESQL names its state folder),
// dropped afterwards.
#pragma once

#include <libpq-fe.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace defserver::test {

inline constexpr const char* kSqlite = "sqlite";
inline constexpr const char* kPostgres = "postgresql";

// The URI of the cluster's own database; empty without a cluster.
inline std::string ClusterUri() {
    const char* state = std::getenv("BASTION_TEST_POSTGRESQL");
    if (!state || !*state) return {};
    std::ifstream in(std::filesystem::path(state) / "uri");
    std::string uri;
    std::getline(in, uri);
    return uri;
}

class TestDatabase {
public:
    TestDatabase(const std::string& kind, const std::string& name) : kind_(kind) {
        static int made = 0;
        name_ = name + "_" + std::to_string(::getpid()) + "_" + std::to_string(++made);
        if (kind_ == kSqlite) {
            folder_ = std::filesystem::temp_directory_path() / ("defserver-db-" + name_);
            std::filesystem::create_directories(folder_);
            location_ = (folder_ / "feedback.sqlite").string();
            return;
        }
        const std::string cluster = ClusterUri();
        if (cluster.empty()) return;
        base_ = cluster.substr(0, cluster.rfind('/') + 1);
        admin_ = PQconnectdb(cluster.c_str());
        if (Exec("CREATE DATABASE " + name_)) location_ = base_ + name_;
    }
    ~TestDatabase() {
        if (admin_) {
            Exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
            PQfinish(admin_);
        }
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // What --feedback takes; empty when there is no such database.
    const std::string& Location() const { return location_; }
    const std::string& Name() const { return name_; }
    // Runs a statement in the cluster's own database (PostgreSQL only).
    bool Exec(const std::string& sql) {
        if (!admin_ || PQstatus(admin_) != CONNECTION_OK) return false;
        PGresult* result = PQexec(admin_, sql.c_str());
        const ExecStatusType status = PQresultStatus(result);
        PQclear(result);
        return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    }
    // Runs statements in the test's database itself.
    bool ExecInside(const std::string& sql) {
        PGconn* connection = PQconnectdb(location_.c_str());
        PGresult* result = PQexec(connection, sql.c_str());
        const bool done = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
        PQfinish(connection);
        return done;
    }

private:
    std::string kind_;
    std::string name_;
    std::string location_;
    std::filesystem::path folder_;
    std::string base_;
    PGconn* admin_ = nullptr;
};

}  // namespace defserver::test
