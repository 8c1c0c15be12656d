#pragma once
// The host's connection to a sub-application's SQLite database. SQL and
// names inside are UTF-8 (SQLite's text); paths and messages are GBK.
// Opening a file touches the file system (SqliteFile.cpp, Windows); the
// rest is OS-free and also builds natively.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace hostmodel {

// What one statement did. `message` is GBK: SQLite's error text or the
// host's own; empty when the statement was carried out.
struct StatementOutcome {
    bool done = false;
    std::int32_t rowsAffected = 0;
    std::string message;
};

class SqliteConnection {
public:
    // Opens `file`, creating it when it does not exist. A database without
    // tables (new, empty, or left by a creation that failed) gets `script`
    // (a file of SQL text in UTF-8; empty for none), run in one transaction.
    // A creation that fails removes the file it made. Throws rt::Error.
    // With `writeAheadLog`, the connection keeps a write-ahead log with
    // normal synchronisation while it is open (where the file system allows
    // one), and turns the file back into a rollback-journal database when it
    // closes.
    static std::unique_ptr<SqliteConnection> Open(const std::string& file, const std::string& script,
                                                  bool writeAheadLog);

    // What Open(file, script) would give, as a private database in memory,
    // with nothing written beside the file: the file read as the next open
    // will find it (a journal of an unfinished commit rolled back, the
    // commits of a write-ahead log taken in, both on a copy in a private
    // temporary folder), or, when there is no file or it has no tables, a
    // new database that the script makes. Statements run on it change the
    // copy only. Throws rt::Error.
    static std::unique_ptr<SqliteConnection> OpenSnapshot(const std::string& file, const std::string& script);

    // A private database in memory, gone with the connection: the host's
    // statement code on its own, without a file. Throws rt::Error.
    static std::unique_ptr<SqliteConnection> OpenInMemory();

    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;
    ~SqliteConnection();

    const std::string& File() const { return file_; }
    // SQLite's handle, for settings that the connection does not make
    // itself (limits, handlers). Owned by the connection.
    sqlite3* Handle() const noexcept { return db_; }

    // Runs exactly one statement; an empty text or a second statement is
    // refused without running anything. Never throws for SQL faults. A
    // statement is reported done exactly when it took effect: one whose
    // commit reached the file is done even when SQLite ended it with an
    // error (with a rollback journal, the lock taken back after the commit
    // can fail), and one that SQLite rolled back is failed.
    StatementOutcome RunOne(std::string_view sql);

    // Runs SQL text (any number of statements); throws rt::Error.
    void Exec(const std::string& sql);

    // The rows of a query, `parameters` bound to ?1, ?2, ... as text; values
    // as text (NULL as empty). Throws rt::Error.
    std::vector<std::vector<std::string>> Rows(const std::string& sql,
                                               const std::vector<std::string>& parameters = {});

    // SQLite's text of the last failure, as GBK.
    std::string LastError() const;

    // True inside a transaction that a statement opened.
    bool InTransaction() const;

    // Runs SQL whose own failure changes nothing for the caller: a rollback
    // after a failure, the end of a read, a setting put back. Never throws.
    void RunQuietly(const char* sql);

    // True while the database keeps a write-ahead log.
    bool WriteAheadLog() const noexcept { return writeAheadLog_; }

private:
    SqliteConnection(sqlite3* db, std::string file) : db_(db), file_(std::move(file)) {}
    // The file's change counter, which every commit with a rollback journal
    // advances, read in a read transaction after any journal of an
    // unfinished commit is rolled back. Nothing when it cannot be read, a
    // transaction is open, or the database keeps a write-ahead log (whose
    // commits leave the counter alone until a checkpoint).
    std::optional<std::uint32_t> CommittedVersion();

    // After a write that ended with an error: true when it took effect
    // nonetheless, judged by the committed version against the one read
    // before it began. False while its transaction is still open.
    bool TookEffect(std::optional<std::uint32_t> versionBefore);

    void UseWriteAheadLog();

    sqlite3* db_;
    std::string file_;
    bool writeAheadLog_ = false;
};

// True when nothing but blanks, semicolons and comments is left in `sql`.
bool OnlySeparatorsLeft(std::string_view sql);

} // namespace hostmodel
