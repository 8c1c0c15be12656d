// Opening a database file of the host: the part of the connection that
// touches the file system.
#include "SqliteConnection.h"

#include "HostText.h"
#include "sharedrt/RtError.h"

#include <sqlite3.h>
#include <windows.h>

#include <fstream>
#include <iterator>

namespace hostmodel {
namespace {

// True when `path` is not there; a file that the system cannot look at is an
// error, never taken for an absent one.
bool Absent(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return true;
    throw rt::Error("无法访问数据库文件" + path + "：错误" + std::to_string(error));
}

std::string ReadScript(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw rt::Error("数据库脚本文件不存在或无法读取：" + path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    return text;
}

} // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::Open(const std::string& file, const std::string& script,
                                                         bool writeAheadLog)
{
    const bool creating = Absent(file);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(GbkToUtf8(file).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string reason = db != nullptr ? Utf8ToGbk(sqlite3_errmsg(db)) : "out of memory";
        sqlite3_close(db);
        throw rt::Error("无法打开数据库文件" + file + "：" + reason);
    }
    std::unique_ptr<SqliteConnection> connection(new SqliteConnection(db, file));
    sqlite3_busy_timeout(db, 2000);
    try {
        // A database without tables is a new one, whether the file was
        // missing, empty, or left by a creation that could not remove it.
        connection->Exec("BEGIN");
        try {
            if (connection->Rows("SELECT count(*) FROM sqlite_schema")[0][0] == "0" && !script.empty())
                connection->Exec(ReadScript(script));
            connection->Exec("COMMIT");
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    } catch (const rt::Error& e) {
        connection.reset();
        if (creating) {
            DeleteFileA(file.c_str());
            DeleteFileA((file + "-journal").c_str());
        }
        throw rt::Error((creating ? "无法创建数据库文件" : "无法打开数据库文件") + file + "：" + e.what());
    }
    if (writeAheadLog)
        connection->UseWriteAheadLog();
    return connection;
}

std::unique_ptr<SqliteConnection> SqliteConnection::OpenSnapshot(const std::string& file, const std::string& script)
{
    std::unique_ptr<SqliteConnection> copy = OpenInMemory();
    if (!Absent(file)) {
        sqlite3* source = nullptr;
        const int rc = sqlite3_open_v2(GbkToUtf8(file).c_str(), &source, SQLITE_OPEN_READONLY, nullptr);
        struct Closer {
            sqlite3* db;
            ~Closer() { sqlite3_close(db); }
        } closer{source};
        if (rc != SQLITE_OK)
            throw rt::Error("无法打开数据库文件" + file + "：" +
                            (source != nullptr ? Utf8ToGbk(sqlite3_errmsg(source)) : std::string("out of memory")));
        sqlite3_backup* backup = sqlite3_backup_init(copy->Handle(), "main", source, "main");
        if (backup == nullptr)
            throw rt::Error("无法读取数据库文件" + file + "：" + copy->LastError());
        const int step = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (step != SQLITE_DONE)
            throw rt::Error("无法读取数据库文件" + file + "：" + Utf8ToGbk(sqlite3_errstr(step)));
    }
    // As Open does: a database without tables gets the script.
    if (copy->Rows("SELECT count(*) FROM sqlite_schema")[0][0] == "0" && !script.empty())
        copy->Exec(ReadScript(script));
    return copy;
}

} // namespace hostmodel
