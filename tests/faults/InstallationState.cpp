#include "faults/InstallationState.h"

#include "support/ChildProcess.h"

#include "support/TempFolder.h"

#include "sharedrt/ErrorMsgLayout.h"
#include "sharedrt/UniqueHandle.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace faults {
namespace {

void ReadTreeInto(const std::string& folder, const std::string& relative, const std::set<std::string>& leftOut,
                  FileTree& tree)
{
    WIN32_FIND_DATAA entry;
    rt::unique_hfind listing(FindFirstFileA((folder + relative + "*").c_str(), &entry));
    if (!listing)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = relative + name;
        if (leftOut.count(path) != 0)
            continue;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            tree[path + "\\"];
            ReadTreeInto(folder, path + "\\", leftOut, tree);
        } else {
            tree[path] = testing_support::ReadBytes(folder + path);
        }
    } while (FindNextFileA(listing.get(), &entry));
}

std::string Utf8Path(const std::string& path)
{
    const int wide = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring text(wide, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, text.data(), wide);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    result.resize(size > 0 ? size - 1 : 0);
    return result;
}

// The rows of one query, each value as its SQLite type and text.
std::vector<std::vector<std::string>> QueryRows(sqlite3* db, const std::string& sql)
{
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const int type = sqlite3_column_type(statement, c);
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
            row.push_back(type == SQLITE_NULL ? std::string("NULL")
                                              : std::to_string(type) + ":" + (text != nullptr ? text : ""));
        }
    }
    const std::string error = rc == SQLITE_DONE ? std::string() : std::string(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    if (!error.empty())
        throw std::runtime_error(error);
    return rows;
}

// A value's text without its type.
std::string Plain(const std::string& value)
{
    return value == "NULL" ? std::string() : value.substr(value.find(':') + 1);
}

std::string QuotedName(const std::string& name)
{
    std::string quoted = "\"";
    for (char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::string ErrorRecords(const void* first)
{
    const auto* records = static_cast<const rt::TErrorMsg*>(first);
    const std::int32_t count = rt::CountedArrayLength(first);
    std::string text = "records " + std::to_string(count);
    for (std::int32_t i = 0; i < count; ++i) {
        const rt::TErrorMsg& r = records[i];
        text += "\n" + std::to_string(r.SeqNo) + "," + std::to_string(r.Code) + "," + r.Msg.ToStdString() + "," +
                r.ReservedText1.ToStdString() + "," + r.ReservedText2.ToStdString() + "," +
                std::to_string(r.ReservedByte) + "," + r.ModuleType.ToStdString() + "," +
                r.InsideCode.ToStdString();
    }
    return text;
}

} // namespace

FileTree ReadTree(const std::string& folder, const std::set<std::string>& leftOut)
{
    FileTree tree;
    ReadTreeInto(folder, "", leftOut, tree);
    return tree;
}

DatabaseState ReadDatabase(const std::string& file)
{
    DatabaseState state;
    state.present = testing_support::PathExists(file);
    if (!state.present)
        return state;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(Utf8Path(file).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        state.error = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return state;
    }
    try {
        const auto check = QueryRows(db, "PRAGMA integrity_check");
        state.integrity = check.empty() || check.front().empty() ? std::string() : Plain(check.front().front());
        for (const auto& object : QueryRows(db, "SELECT type, name, sql FROM sqlite_master ORDER BY type, name")) {
            const std::string type = Plain(object[0]);
            const std::string name = Plain(object[1]);
            state.image["schema " + type + " " + name] = Plain(object[2]);
            if (type != "table" || name.rfind("sqlite_", 0) == 0)
                continue;
            std::vector<std::string> rows;
            for (const auto& values : QueryRows(db, "SELECT * FROM " + QuotedName(name))) {
                std::string row;
                for (const std::string& value : values)
                    row += (row.empty() ? "" : " | ") + value;
                rows.push_back(std::move(row));
            }
            std::sort(rows.begin(), rows.end());
            state.image["rows " + name] = JoinLines(rows);
        }
        state.opened = true;
    } catch (const std::exception& e) {
        state.error = e.what();
    }
    sqlite3_close(db);
    return state;
}

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescaped(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

} // namespace

std::string DatabaseStateText(const DatabaseState& state)
{
    std::string text = "present\t" + std::to_string(state.present) + "\nopened\t" + std::to_string(state.opened) +
                       "\nintegrity\t" + Escaped(state.integrity) + "\nerror\t" + Escaped(state.error) + "\n";
    for (const auto& [key, value] : state.image)
        text += "image\t" + Escaped(key) + "\t" + Escaped(value) + "\n";
    return text + "end\n";
}

DatabaseState DatabaseStateFromText(const std::string& text)
{
    DatabaseState state;
    bool ended = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t tab = line.find('\t');
        const std::string field = line.substr(0, tab);
        const std::string rest = tab == std::string::npos ? std::string() : line.substr(tab + 1);
        if (field == "present")
            state.present = rest == "1";
        else if (field == "opened")
            state.opened = rest == "1";
        else if (field == "integrity")
            state.integrity = Unescaped(rest);
        else if (field == "error")
            state.error = Unescaped(rest);
        else if (field == "image")
            state.image[Unescaped(rest.substr(0, rest.find('\t')))] = Unescaped(rest.substr(rest.find('\t') + 1));
        else if (field == "end")
            ended = true;
    }
    if (!ended) {
        state.opened = false;
        state.error = "the reading process ended without its answer: " + text.substr(0, 300);
    }
    return state;
}

DatabaseState ReadDatabaseInFreshProcess(const std::string& file)
{
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const testing_support::ProcessResult run =
        testing_support::RunProgram("\"" + std::string(self) + "\" - - image \"" + file + "\"");
    return DatabaseStateFromText(run.output);
}

Parameters ReadParameters(const rt::DataVO* vo)
{
    Parameters parameters;
    if (vo == nullptr || vo->Items == nullptr)
        return parameters;
    for (std::int32_t i = 0; i < vo->Items->Count(); ++i) {
        const auto* item = static_cast<const rt::ParamItem*>(vo->Items->Get(i));
        const std::string name(reinterpret_cast<const char*>(item->Name + 1), item->Name[0]);
        const rt::TParamValue* cell = item->Value;
        std::string value = std::to_string(item->ValueType) + ":";
        if (cell == nullptr) {
            value += "no cell";
        } else {
            switch (static_cast<rt::ParamType>(item->ValueType)) {
            case rt::ParamType::String:
                value += cell->StringValue.ToStdString();
                break;
            case rt::ParamType::Integer:
                value += std::to_string(cell->IntegerValue);
                break;
            case rt::ParamType::Float: {
                char text[64];
                std::snprintf(text, sizeof text, "%.17g", cell->FloatValue);
                value += text;
                break;
            }
            case rt::ParamType::Boolean:
                value += std::to_string(cell->BooleanValue);
                break;
            case rt::ParamType::Pointer:
                value += name == "Global_Errlist" ? ErrorRecords(cell->PointerValue) : std::string("pointer");
                break;
            default:
                value += "object";
                break;
            }
        }
        parameters.emplace_back(name, std::move(value));
    }
    return parameters;
}

std::optional<std::string> FindParameter(const Parameters& parameters, const std::string& name)
{
    for (const auto& [itemName, value] : parameters)
        if (itemName == name)
            return value;
    return std::nullopt;
}

const std::vector<std::string>* IniText::Section(const std::string& name) const
{
    for (const auto& [section, lines] : sections)
        if (_stricmp(section.c_str(), name.c_str()) == 0)
            return &lines;
    return nullptr;
}

std::optional<std::string> IniText::Value(const std::string& section, const std::string& key) const
{
    const std::vector<std::string>* lines = Section(section);
    if (lines == nullptr)
        return std::nullopt;
    for (const std::string& line : *lines) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && _stricmp(line.substr(0, equals).c_str(), key.c_str()) == 0)
            return line.substr(equals + 1);
    }
    return std::nullopt;
}

IniText ParseIni(const std::string& bytes)
{
    IniText ini;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos)
            continue;
        line.erase(0, first);
        if (line[0] == ';')
            continue;
        if (line[0] == '[' && line.back() == ']') {
            ini.sections.emplace_back(line.substr(1, line.size() - 2), std::vector<std::string>{});
        } else if (line.find('=') != std::string::npos && !ini.sections.empty()) {
            // Keys and values as the profile functions see them: blanks
            // around '=' do not count.
            const std::size_t equals = line.find('=');
            std::string key = line.substr(0, equals);
            while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
                key.pop_back();
            std::string value = line.substr(equals + 1);
            value.erase(0, std::min(value.find_first_not_of(" \t"), value.size()));
            ini.sections.back().second.push_back(key + "=" + value);
        } else {
            ini.unparsed.push_back(line);
        }
    }
    return ini;
}

void CopyTree(const std::string& from, const std::string& to)
{
    // Every folder on the way: "Z:\a\b\" makes "Z:\a" and "Z:\a\b".
    for (std::size_t at = to.find('\\', 3); at != std::string::npos; at = to.find('\\', at + 1))
        CreateDirectoryA(to.substr(0, at).c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    rt::unique_hfind listing(FindFirstFileA((from + "*").c_str(), &entry));
    if (!listing)
        return;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            CopyTree(from + name + "\\", to + name + "\\");
        else
            CopyFileA((from + name).c_str(), (to + name).c_str(), FALSE);
    } while (FindNextFileA(listing.get(), &entry));
}

void RemoveTree(const std::string& folder)
{
    std::string path = folder;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    testing_support::RemoveTree(path);
}

void RestoreTree(const std::string& folder, const FileTree& tree)
{
    const FileTree now = ReadTree(folder);
    // Deepest first, so that a folder is empty when it goes.
    for (auto it = now.rbegin(); it != now.rend(); ++it) {
        const auto& [path, bytes] = *it;
        const auto wanted = tree.find(path);
        if (wanted != tree.end() && wanted->second == bytes)
            continue;
        if (!path.empty() && path.back() == '\\') {
            if (wanted == tree.end())
                RemoveTree(folder + path);
        } else {
            SetFileAttributesA((folder + path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + path).c_str());
        }
    }
    for (const auto& [path, bytes] : tree) {
        const auto found = now.find(path);
        if (found != now.end() && found->second == bytes)
            continue;
        if (!path.empty() && path.back() == '\\')
            CreateDirectoryA((folder + path).c_str(), nullptr);
        else
            testing_support::WriteBytes(folder + path, bytes);
    }
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace faults
