// The floor of InitSubApp on an installation: the input and output that a
// start cannot do without, done plainly. It reads the documents a start
// reads, copies the files it copies, writes the host's action file once, and
// runs the upgrade statements on the sub-application's database, opened and
// seeded as the reference host does (same SQLite build, same settings, each
// statement its own transaction).
//   InitFloor.exe <installation folder> <plan file>
// The plan (GBK text, paths relative to the installation folder), one
// operation a line, fields separated by a tab:
//   read  <file>
//   copy  <source> <target>        (an existing target is replaced)
//   write <file> <bytes taken from this file>
//   open  <database file> <script file>
//   sql   <statement>
// Prints "floor in <milliseconds> ms"; only the operations are timed, not
// reading the plan.
#include <sqlite3.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Operation {
    std::string kind;
    std::string first;
    std::string second;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<Operation> ReadPlan(const std::string& path)
{
    std::vector<Operation> plan;
    std::istringstream lines(ReadAll(path));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        Operation op;
        const std::size_t tab = line.find('\t');
        op.kind = line.substr(0, tab);
        if (tab != std::string::npos) {
            const std::string rest = line.substr(tab + 1);
            const std::size_t next = op.kind == "sql" ? std::string::npos : rest.find('\t');
            op.first = rest.substr(0, next);
            if (next != std::string::npos)
                op.second = rest.substr(next + 1);
        }
        plan.push_back(op);
    }
    return plan;
}

std::string GbkToUtf8(const std::string& text)
{
    if (text.empty())
        return text;
    const int units = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

// Reads a whole file through the system, as a start does.
bool ReadWhole(const std::string& path, std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file, nullptr);
    content.resize(size);
    DWORD read = 0;
    const bool ok = size == 0 || (ReadFile(file, content.data(), size, &read, nullptr) && read == size);
    CloseHandle(file);
    return ok;
}

bool WriteWhole(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size() && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

// Copies a file, replacing the target; a missing target folder is made
// first, as a directory copy does.
bool CopyInto(const std::string& source, const std::string& target)
{
    if (CopyFileA(source.c_str(), target.c_str(), FALSE))
        return true;
    if (GetLastError() != ERROR_PATH_NOT_FOUND)
        return false;
    for (std::size_t at = target.find('\\', 3); at != std::string::npos; at = target.find('\\', at + 1))
        CreateDirectoryA(target.substr(0, at).c_str(), nullptr);
    return CopyFileA(source.c_str(), target.c_str(), FALSE) != 0;
}

// The host's way of opening the connection: the file created when missing,
// a database without tables seeded from the script in one transaction.
sqlite3* OpenDatabase(const std::string& file, const std::string& script)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(GbkToUtf8(file).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        return nullptr;
    sqlite3_busy_timeout(db, 2000);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    int tables = 0;
    sqlite3_exec(
        db, "SELECT count(*) FROM sqlite_schema",
        [](void* count, int, char** values, char**) {
            *static_cast<int*>(count) = values[0] != nullptr ? std::atoi(values[0]) : 0;
            return 0;
        },
        &tables, nullptr);
    if (tables == 0) {
        std::string text = ReadAll(script);
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.erase(0, 3);
        sqlite3_exec(db, text.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return db;
}

void CloseDatabase(sqlite3* db)
{
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: InitFloor <installation folder> <plan file>\n");
        return 2;
    }
    std::string root = argv[1];
    if (!root.empty() && root.back() != '\\')
        root += '\\';
    const std::vector<Operation> plan = ReadPlan(argv[2]);
    // What the plan writes is prepared before the clock starts.
    std::vector<std::string> writes;
    for (const Operation& op : plan)
        if (op.kind == "write")
            writes.push_back(ReadAll(root + op.second));

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int failures = 0;
    std::size_t bytesRead = 0;
    std::size_t nextWrite = 0;
    sqlite3* db = nullptr;
    // Time spent per kind of operation: the floor's own split.
    const char* const kinds[] = {"read", "copy", "write", "open", "sql"};
    double kindMs[5] = {};
    for (const Operation& op : plan) {
        LARGE_INTEGER opStart, opEnd;
        QueryPerformanceCounter(&opStart);
        if (op.kind == "read") {
            std::string content;
            if (ReadWhole(root + op.first, content))
                bytesRead += content.size();
            else
                ++failures;
        } else if (op.kind == "copy") {
            if (!CopyInto(root + op.first, root + op.second))
                ++failures;
        } else if (op.kind == "write") {
            if (!WriteWhole(root + op.first, writes[nextWrite++]))
                ++failures;
        } else if (op.kind == "open") {
            if (db != nullptr)
                CloseDatabase(db);
            db = OpenDatabase(root + op.first, root + op.second);
            if (db == nullptr)
                ++failures;
        } else if (op.kind == "sql") {
            if (db == nullptr || sqlite3_exec(db, GbkToUtf8(op.first).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
                ++failures;
        }
        QueryPerformanceCounter(&opEnd);
        for (int k = 0; k < 5; ++k)
            if (op.kind == kinds[k])
                kindMs[k] += 1000.0 * static_cast<double>(opEnd.QuadPart - opStart.QuadPart) /
                             static_cast<double>(frequency.QuadPart);
    }
    if (db != nullptr)
        CloseDatabase(db);
    QueryPerformanceCounter(&end);
    const double milliseconds =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("floor in %.1f ms (%zu operations, %zu bytes read, %d failed)\n", milliseconds, plan.size(), bytesRead,
                failures);
    for (int k = 0; k < 5; ++k)
        if (kindMs[k] > 0)
            std::printf("  %-5s %.1f ms\n", kinds[k], kindMs[k]);
    return failures == 0 ? 0 : 1;
}
