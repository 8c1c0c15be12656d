#include "SqliteConnection.h"

#include "HostText.h"
#include "sharedrt/RtError.h"

#include <sqlite3.h>

#include <optional>

namespace hostmodel {
namespace {

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

} // namespace

bool OnlySeparatorsLeft(std::string_view sql)
{
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == ';') {
            ++i;
        } else if (sql.substr(i, 2) == "--") {
            const std::size_t end = sql.find('\n', i);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (sql.substr(i, 2) == "/*") {
            const std::size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? sql.size() : end + 2;
        } else {
            return false;
        }
    }
    return true;
}

std::unique_ptr<SqliteConnection> SqliteConnection::OpenInMemory()
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string reason = db != nullptr ? Utf8ToGbk(sqlite3_errmsg(db)) : "out of memory";
        sqlite3_close(db);
        throw rt::Error("无法打开内存数据库：" + reason);
    }
    return std::unique_ptr<SqliteConnection>(new SqliteConnection(db, ":memory:"));
}

SqliteConnection::~SqliteConnection()
{
    // Back to a rollback journal: the log is written into the file and
    // removed, and the file at rest opens for any reader, read-only ones too.
    if (writeAheadLog_)
        RunQuietly("PRAGMA journal_mode = DELETE");
    sqlite3_close(db_);
}

void SqliteConnection::UseWriteAheadLog()
{
    // Exclusive, so that the log's index lives in this process's memory
    // rather than in a file mapped into it: a mapped page that a full disk
    // could not back faults at its first write, and the process dies.
    Exec("PRAGMA locking_mode = EXCLUSIVE");
    const auto mode = Rows("PRAGMA journal_mode = WAL");
    writeAheadLog_ = !mode.empty() && !mode[0].empty() && mode[0][0] == "wal";
    if (writeAheadLog_) {
        Exec("PRAGMA synchronous = NORMAL");
    } else {
        // Where the log cannot be had, the rollback journal goes on as
        // before, sharing the file.
        Exec("PRAGMA locking_mode = NORMAL");
    }
}

std::string SqliteConnection::LastError() const
{
    return Utf8ToGbk(sqlite3_errmsg(db_));
}

std::optional<std::uint32_t> SqliteConnection::CommittedVersion()
{
    if (InTransaction())
        return std::nullopt;
    // Inside a read transaction, so that a journal left by a commit that
    // did not finish is rolled back before the header is read.
    if (sqlite3_exec(db_, "BEGIN; SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) != SQLITE_OK) {
        RunQuietly("ROLLBACK");
        return std::nullopt;
    }
    if (writeAheadLog_) {
        // Its counter moves only at checkpoints, and the pager's data
        // version also when a failed write discards the cache: neither says
        // whether a commit happened.
        RunQuietly("COMMIT");
        return std::nullopt;
    }
    sqlite3_file* handle = nullptr;
    unsigned char counter[4] = {};
    int rc = sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &handle);
    if (rc == SQLITE_OK)
        rc = handle != nullptr && handle->pMethods != nullptr ? handle->pMethods->xRead(handle, counter, 4, 24)
                                                              : SQLITE_ERROR;
    RunQuietly("COMMIT");
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ)  // a short read is an empty file: zeros
        return std::nullopt;
    return std::uint32_t{counter[0]} << 24 | std::uint32_t{counter[1]} << 16 | std::uint32_t{counter[2]} << 8 |
           counter[3];
}

bool SqliteConnection::TookEffect(std::optional<std::uint32_t> versionBefore)
{
    if (InTransaction())
        return false;  // still open: the caller rolls it back
    const std::optional<std::uint32_t> after = CommittedVersion();
    return versionBefore && after && *after != *versionBefore;
}

bool SqliteConnection::InTransaction() const
{
    return sqlite3_get_autocommit(db_) == 0;
}

void SqliteConnection::RunQuietly(const char* sql)
{
    sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

StatementOutcome SqliteConnection::RunOne(std::string_view sql)
{
    StatementOutcome outcome;
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &raw, &tail) != SQLITE_OK) {
        outcome.message = LastError();
        return outcome;
    }
    Statement statement(raw);
    if (!statement) {
        outcome.message = "SQL语句为空";
        return outcome;
    }
    if (!OnlySeparatorsLeft(std::string_view(tail, sql.data() + sql.size() - tail))) {
        outcome.message = "一次只能执行一条SQL语句";
        return outcome;
    }
    // With a rollback journal, a statement that is its own transaction can
    // fail after its commit reached the file (the lock taken back
    // afterwards, say); the file's change counter tells such a statement
    // from one that was rolled back. With the write-ahead log nothing comes
    // after the commit's last frame that could fail (the lock is held
    // throughout, and the checkpoint's result is not the statement's): a
    // statement that ended with an error did not commit.
    const bool ownTransaction = !InTransaction() && !sqlite3_stmt_readonly(statement.get()) && !writeAheadLog_;
    const std::optional<std::uint32_t> versionBefore =
        ownTransaction ? CommittedVersion() : std::nullopt;
    const long long before = sqlite3_total_changes(db_);
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        const std::string message = LastError();
        statement.reset();
        if (!ownTransaction || !TookEffect(versionBefore)) {
            outcome.message = message;
            return outcome;
        }
    }
    outcome.done = true;
    outcome.rowsAffected = static_cast<std::int32_t>(sqlite3_total_changes(db_) - before);
    return outcome;
}

void SqliteConnection::Exec(const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = Utf8ToGbk(error != nullptr ? error : "SQL error");
        sqlite3_free(error);
        throw rt::Error(message);
    }
}

std::vector<std::vector<std::string>> SqliteConnection::Rows(const std::string& sql,
                                                             const std::vector<std::string>& parameters)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
        throw rt::Error(LastError());
    Statement statement(raw);
    if (!statement)
        return {};
    for (std::size_t i = 0; i < parameters.size(); ++i)
        sqlite3_bind_text(statement.get(), static_cast<int>(i + 1), parameters[i].c_str(),
                          static_cast<int>(parameters[i].size()), SQLITE_TRANSIENT);
    std::vector<std::vector<std::string>> rows;
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        std::vector<std::string>& row = rows.emplace_back();
        const int columns = sqlite3_column_count(statement.get());
        for (int c = 0; c < columns; ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), c));
            row.emplace_back(text != nullptr ? text : "");
        }
    }
    if (rc != SQLITE_DONE)
        throw rt::Error(LastError());
    return rows;
}

} // namespace hostmodel
