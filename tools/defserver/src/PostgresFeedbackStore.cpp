#include "PostgresFeedbackStore.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <array>

#include "FeedbackSchema.h"

namespace defserver {

namespace {

// How long a request waits for one of the connections to come free.
constexpr std::chrono::seconds kConnectionWait{5};
// How long a statement may take: the database cancels it a little sooner
// (statement_timeout), and a database that does not answer at all (a host
// gone, a server stopped) loses its connection here. Every wait of a
// request is bounded, so that reports cannot hold the server's threads.
constexpr std::chrono::seconds kStatementDeadline{10};
constexpr const char* kStatementTimeout = "SET statement_timeout = 8000";
// Unacknowledged data on a connection for this long ends it.
constexpr const char* kTcpUserTimeoutMs = "10000";
// After a failed connection, requests fail at once for this long instead
// of each waiting for the database in turn.
constexpr std::chrono::seconds kRetryPause{1};
// Rows stored by one statement at most (three parameters each, of the
// 65,535 a statement may have).
constexpr std::size_t kMostRowsAStatement = 1000;
// Serialises the steps of instances that start together.
constexpr const char* kMigrationLock = "SELECT pg_advisory_xact_lock(1684366963)";

struct ResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultClearer>;

std::string Message(pg_conn* connection) {
    std::string message = connection ? PQerrorMessage(connection) : "out of memory";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    return message;
}

// The last result of a statement sent with its parameters, waited for no
// longer than kStatementDeadline; nullptr when it could not be sent or the
// deadline passed (the connection is then in the middle of a statement and
// is closed when given back).
PGresult* ExecWithDeadline(pg_conn* connection, const std::string& sql, int count, const char* const* values,
                           const int* lengths, const int* formats, int resultFormat) {
    // Without parameters, as simple text: it may hold several statements.
    const int sent = count == 0 && resultFormat == 0
                         ? PQsendQuery(connection, sql.c_str())
                         : PQsendQueryParams(connection, sql.c_str(), count, nullptr, values, lengths, formats,
                                             resultFormat);
    if (sent != 1) return nullptr;
    const auto deadline = std::chrono::steady_clock::now() + kStatementDeadline;
    PGresult* last = nullptr;
    for (;;) {
        while (PQisBusy(connection) == 1) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                   std::chrono::steady_clock::now());
            pollfd waiting{PQsocket(connection), POLLIN, 0};
            if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) < 0 ||
                PQconsumeInput(connection) != 1) {
                PQclear(last);
                return nullptr;
            }
        }
        PGresult* next = PQgetResult(connection);
        if (!next) return last;
        PQclear(last);
        last = next;
    }
}

bool Exec(pg_conn* connection, const std::string& sql, std::string& error) {
    const Result result(ExecWithDeadline(connection, sql, 0, nullptr, nullptr, nullptr, 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return true;
    error = result ? Message(connection) : "the database did not answer in time";
    return false;
}

}  // namespace

void PostgresFeedbackStore::Closer::operator()(pg_conn* connection) const { PQfinish(connection); }

PostgresFeedbackStore::PostgresFeedbackStore(std::string uri, std::size_t connections)
    : uri_(std::move(uri)), most_(std::max<std::size_t>(1, connections)) {}

PostgresFeedbackStore::~PostgresFeedbackStore() = default;

std::unique_ptr<PostgresFeedbackStore> PostgresFeedbackStore::Open(const std::string& uri, std::size_t connections,
                                                                   std::string& error) {
    std::unique_ptr<PostgresFeedbackStore> store(new PostgresFeedbackStore(uri, connections));
    Connection first = store->Connect(error);
    if (first && !store->Migrate(first.get(), error)) first.reset();
    if (!first) {
        error = "cannot open the feedback database " + ShownLocation(uri) + ": " + error;
        return nullptr;
    }
    store->idle_.push_back(std::move(first));
    store->open_ = 1;
    return store;
}

PostgresFeedbackStore::Connection PostgresFeedbackStore::Connect(std::string& error) const {
    // Defaults that the URI's own parameters override: a database that
    // does not answer is given up in seconds, and a peer that vanished
    // without a word is noticed.
    const std::array<const char*, 8> keywords{"connect_timeout",  "keepalives_idle",  "keepalives_interval",
                                              "keepalives_count", "tcp_user_timeout", "application_name",
                                              "dbname",           nullptr};
    const std::array<const char*, 8> values{"5", "30", "10", "3", kTcpUserTimeoutMs, "defserver", uri_.c_str(), nullptr};
    Connection connection(PQconnectdbParams(keywords.data(), values.data(), 1));
    if (!connection || PQstatus(connection.get()) != CONNECTION_OK) {
        error = Message(connection.get());
        return nullptr;
    }
    // Notices ("already exists, skipping") are no news for the log.
    PQsetNoticeProcessor(connection.get(), [](void*, const char*) {}, nullptr);
    // A statement that hangs (a stalled disk, a lock) gives its request
    // back in a while rather than holding its connection for ever.
    if (!Exec(connection.get(), kStatementTimeout, error)) return nullptr;
    return connection;
}

bool PostgresFeedbackStore::Migrate(pg_conn* connection, std::string& error) const {
    if (!Exec(connection, "BEGIN", error)) return false;
    int version = 0;
    bool done = Exec(connection, kMigrationLock, error) && Exec(connection, kSchemaVersionTable, error);
    if (done) {
        const Result result(ExecWithDeadline(connection, "SELECT coalesce(max(version), 0) FROM schema_version", 0,
                                             nullptr, nullptr, nullptr, 0));
        done = result && PQresultStatus(result.get()) == PGRES_TUPLES_OK && PQntuples(result.get()) == 1;
        if (done) version = std::stoi(PQgetvalue(result.get(), 0, 0));
        else error = Message(connection);
    }
    for (std::size_t step = static_cast<std::size_t>(version); done && step < kFeedbackSchema.size(); ++step) {
        done = Exec(connection, kFeedbackSchema[step].postgresql, error);
    }
    if (done && static_cast<std::size_t>(version) < kFeedbackSchema.size()) {
        done = Exec(connection,
                    "DELETE FROM schema_version; INSERT INTO schema_version VALUES (" +
                        std::to_string(kFeedbackSchema.size()) + ")",
                    error);
    }
    if (done && Exec(connection, "COMMIT", error)) return true;
    std::string ignored;
    Exec(connection, "ROLLBACK", ignored);
    return false;
}

PostgresFeedbackStore::Connection PostgresFeedbackStore::Take() {
    std::unique_lock<std::mutex> hold(lock_);
    const Clock::time_point until = Clock::now() + kConnectionWait;
    while (idle_.empty() && open_ >= most_) {
        if (freed_.wait_until(hold, until) == std::cv_status::timeout && idle_.empty() && open_ >= most_) return nullptr;
    }
    if (!idle_.empty()) {
        Connection connection = std::move(idle_.back());
        idle_.pop_back();
        return connection;
    }
    if (Clock::now() < downUntil_) return nullptr;
    ++open_;
    hold.unlock();
    std::string error;
    Connection connection = Connect(error);
    if (!connection) {
        hold.lock();
        --open_;
        downUntil_ = Clock::now() + kRetryPause;
        freed_.notify_one();
    }
    return connection;
}

void PostgresFeedbackStore::Give(Connection connection) {
    std::vector<Connection> lost;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (PQstatus(connection.get()) == CONNECTION_OK && PQtransactionStatus(connection.get()) == PQTRANS_IDLE) {
            idle_.push_back(std::move(connection));
        } else {
            lost.push_back(std::move(connection));
            lost.insert(lost.end(), std::make_move_iterator(idle_.begin()), std::make_move_iterator(idle_.end()));
            idle_.clear();
            open_ -= lost.size();
        }
        freed_.notify_all();
    }
    // Closed outside the lock: saying goodbye to a server takes a while.
}

bool PostgresFeedbackStore::Store(Pending& row) {
    if (row.request.empty()) return false;
    std::unique_lock<std::mutex> hold(queueLock_);
    queue_.push_back(&row);
    while (!row.done) {
        if (row.taken || storing_ >= most_) {
            settled_.wait(hold);
            continue;
        }
        // This request stores what waits, oldest first: its own row among
        // them unless a whole statement's worth waited before it.
        ++storing_;
        std::vector<Pending*> rows[2];
        for (std::size_t n = 0; n < kMostRowsAStatement && !queue_.empty(); ++n) {
            Pending* next = queue_.front();
            queue_.pop_front();
            next->taken = true;
            rows[next->falsePositive].push_back(next);
        }
        hold.unlock();
        bool stored[2] = {false, false};
        for (int table = 0; table < 2; ++table) stored[table] = !rows[table].empty() && InsertRows(rows[table]);
        hold.lock();
        --storing_;
        for (int table = 0; table < 2; ++table) {
            for (Pending* each : rows[table]) {
                each->stored = stored[table];
                each->done = true;
            }
        }
        settled_.notify_all();
    }
    return row.stored;
}

bool PostgresFeedbackStore::InsertRows(const std::vector<Pending*>& rows) {
    const bool falsePositives = rows.front()->falsePositive;
    std::string sql = falsePositives ? "INSERT INTO false_positives (request, files, details) VALUES "
                                     : "INSERT INTO data (request, data) VALUES ";
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    auto add = [&](const std::string& value, int format) {
        values.push_back(value.data());
        lengths.push_back(static_cast<int>(value.size()));
        formats.push_back(format);
        return "$" + std::to_string(values.size());
    };
    for (const Pending* row : rows) {
        if (row != rows.front()) sql += ",";
        // The identity is text; the texts received go as their bytes.
        sql += "(" + add(row->request, 0) + "," + add(*row->first, 1);
        sql += falsePositives ? "," + add(*row->second, 1) + ")" : ")";
    }
    sql += " ON CONFLICT (request) DO NOTHING";
    for (int attempt = 0; attempt < 2; ++attempt) {
        Connection connection = Take();
        if (!connection) return false;
        const Result result(ExecWithDeadline(connection.get(), sql, static_cast<int>(values.size()), values.data(),
                                             lengths.data(), formats.data(), 0));
        const bool stored = result && PQresultStatus(result.get()) == PGRES_COMMAND_OK;
        const bool lost = PQstatus(connection.get()) != CONNECTION_OK;
        Give(std::move(connection));
        // A connection lost on the way may have lost the answer of a
        // commit that took place: sent again, the rows are found by their
        // identities and not stored twice.
        if (stored || !lost) return stored;
    }
    return false;
}

bool PostgresFeedbackStore::AddData(const std::string& data) {
    Pending row;
    row.request = NewRowIdentity();
    row.first = &data;
    return Store(row);
}

bool PostgresFeedbackStore::AddFalsePositive(const std::string& files, const std::string& details) {
    Pending row;
    row.falsePositive = true;
    row.request = NewRowIdentity();
    row.first = &files;
    row.second = &details;
    return Store(row);
}

std::vector<std::vector<std::string>> PostgresFeedbackStore::Rows(const std::string& table) {
    std::vector<std::vector<std::string>> rows;
    const char* sql = table == "data"              ? "SELECT data FROM data ORDER BY id"
                      : table == "false_positives" ? "SELECT files, details FROM false_positives ORDER BY id"
                                                   : nullptr;
    if (!sql) return rows;
    Connection connection = Take();
    if (!connection) return rows;
    // In binary form a bytea column is its bytes.
    const Result result(ExecWithDeadline(connection.get(), sql, 0, nullptr, nullptr, nullptr, 1));
    Give(std::move(connection));
    if (!result || PQresultStatus(result.get()) != PGRES_TUPLES_OK) return rows;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        std::vector<std::string>& texts = rows.emplace_back();
        for (int column = 0; column < PQnfields(result.get()); ++column) {
            texts.emplace_back(PQgetvalue(result.get(), row, column),
                               static_cast<std::size_t>(PQgetlength(result.get(), row, column)));
        }
    }
    return rows;
}

}  // namespace defserver
