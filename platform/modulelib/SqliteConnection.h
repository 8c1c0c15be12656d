#pragma once
// The host's connection to a sub-application's SQLite database. SQL and
// names inside are UTF-8 (SQLite's text); paths and messages are GBK.
// Opening a file touches the file system (SqliteFile.cpp, Windows); the
// rest is OS-free and also builds natively.
#include <cstdint>
#include <memory>
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
    // Opens `file`. When it does not exist it is created, and `script` (a
    // file of SQL text in UTF-8; empty for none) is run in one transaction;
    // a creation that fails leaves no file behind. Throws rt::Error.
    static std::unique_ptr<SqliteConnection> Open(const std::string& file, const std::string& script);

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
    // refused without running anything. Never throws for SQL faults.
    StatementOutcome RunOne(std::string_view sql);

    // Runs SQL text (any number of statements); throws rt::Error.
    void Exec(const std::string& sql);

    // The rows of a query, `parameters` bound to ?1, ?2, ... as text; values
    // as text (NULL as empty). Throws rt::Error.
    std::vector<std::vector<std::string>> Rows(const std::string& sql,
                                               const std::vector<std::string>& parameters = {});

    // SQLite's text of the last failure, as GBK.
    std::string LastError() const;

private:
    SqliteConnection(sqlite3* db, std::string file) : db_(db), file_(std::move(file)) {}

    sqlite3* db_;
    std::string file_;
};

// True when nothing but blanks, semicolons and comments is left in `sql`.
bool OnlySeparatorsLeft(std::string_view sql);

} // namespace hostmodel
