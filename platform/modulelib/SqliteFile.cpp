// Opening a database file of the host: the part of the connection that
// touches the file system.
#include "SqliteConnection.h"

#include "HostText.h"
#include "sharedrt/RtError.h"

#include <sqlite3.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

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

namespace {

std::wstring Wide(std::string_view gbk)
{
    std::wstring wide(gbk.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

std::string Utf8(std::wstring_view wide)
{
    std::string utf8(wide.size() * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                             utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                                             nullptr)));
    return utf8;
}

// A folder of this process's own under the system's temporary folder,
// removed with the files in it.
class ScratchFolder {
public:
    ScratchFolder()
    {
        static unsigned counter = 0;
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        if (length == 0 || length > MAX_PATH)
            throw rt::Error("无法取得临时文件夹（系统错误" + std::to_string(GetLastError()) + "）");
        path_ = std::wstring(temp, length) + L"wscbs-snapshot-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++) + L"\\";
        if (!CreateDirectoryW(path_.c_str(), nullptr))
            throw rt::Error("无法创建临时文件夹（系统错误" + std::to_string(GetLastError()) + "）");
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder()
    {
        WIN32_FIND_DATAW entry;
        const HANDLE listing = FindFirstFileW((path_ + L"*").c_str(), &entry);
        if (listing != INVALID_HANDLE_VALUE) {
            do {
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    DeleteFileW((path_ + entry.cFileName).c_str());
            } while (FindNextFileW(listing, &entry));
            FindClose(listing);
        }
        RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// Copies `from` to `to`, reading beside any host that has it open. False
// when there is no file `from`; rt::Error when it cannot be read or copied.
bool CopyBeside(const std::string& from, const std::wstring& to)
{
    const HANDLE source = CreateFileW(Wide(from).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (source == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return false;
        throw rt::Error("无法读取数据库文件" + from + "（系统错误" + std::to_string(error) + "）");
    }
    const HANDLE target = CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = target == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    std::vector<char> buffer(1 << 16);
    for (DWORD read = 0; error == 0;) {
        if (!ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            error = GetLastError();
        } else if (read == 0) {
            break;
        } else {
            DWORD written = 0;
            if (!WriteFile(target, buffer.data(), read, &written, nullptr) || written != read)
                error = written != read && GetLastError() == 0 ? ERROR_DISK_FULL : GetLastError();
        }
    }
    CloseHandle(source);
    if (target != INVALID_HANDLE_VALUE)
        CloseHandle(target);
    if (error != 0)
        throw rt::Error("无法复制数据库文件" + from + "（系统错误" + std::to_string(error) + "）");
    return true;
}

} // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::OpenSnapshot(const std::string& file, const std::string& script)
{
    std::unique_ptr<SqliteConnection> copy = OpenInMemory();
    if (!Absent(file)) {
        // The database as the host's next open will find it: the journal of
        // a commit that did not finish rolled back, the commits in a
        // write-ahead log taken in. Opened in place even read-only, SQLite
        // would make the log's index beside the file, and could not roll a
        // journal back; so the file with its journal and log is opened as a
        // copy in a folder of its own, and only that copy is changed.
        const ScratchFolder scratch;
        const std::wstring base = scratch.Path() + L"snapshot.db";
        CopyBeside(file, base);
        CopyBeside(file + "-journal", base + L"-journal");
        CopyBeside(file + "-wal", base + L"-wal");
        sqlite3* source = nullptr;
        const int rc = sqlite3_open_v2(Utf8(base).c_str(), &source, SQLITE_OPEN_READWRITE, nullptr);
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
