// The host's statement translator: Access's "ALTER TABLE t ALTER COLUMN c
// Text(n)" carried out as SQLite's table rebuild (platform/modulelib/
// AlterColumn.h), on an in-memory database that the input builds.
// After a success the schema, the rows, the indexes and the views are as
// they were apart from the column, whose declared type is Text(n) and whose
// numbers became texts (text affinity); after a failure the database is
// unchanged.
//   input: SQL that builds the database NUL the statement
// The building SQL may create and fill tables, indexes, views and triggers
// (temporary ones too) and switch foreign keys; anything else is refused,
// and a step budget ends long runs.
#include "FuzzSupport.h"

#include "AlterColumn.h"
#include "AlterColumnText.h"
#include "SqliteConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// A value with its storage class ("int:12", "text:\"12\"", "null"); a row
// of them; the rows of a query.
using Row = std::vector<std::string>;
using Table = std::vector<Row>;

std::string Value(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL: return "null";
    case SQLITE_INTEGER:
        return "int:" + std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
    case SQLITE_FLOAT:
        return "real:" + std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
    default: {
        const bool text = sqlite3_column_type(statement, column) == SQLITE_TEXT;
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
        const std::string_view view(bytes ? bytes : "",
                                    static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        return (text ? "text:" : "blob:") + std::string(view);
    }
    }
}

// The rows of a query; one row "error: ..." when it fails.
Table Query(sqlite3* db, const std::string& sql)
{
    Table rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        return {{"error: " + std::string(sqlite3_errmsg(db))}};
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        Row& row = rows.emplace_back();
        for (int c = 0; c < sqlite3_column_count(statement); ++c)
            row.push_back(Value(statement, c));
    }
    if (rc != SQLITE_DONE)
        rows.push_back({"error: " + std::string(sqlite3_errmsg(db))});
    sqlite3_finalize(statement);
    return rows;
}

bool Failed(const Table& rows) { return !rows.empty() && rows.back().front().rfind("error: ", 0) == 0; }

std::string Quote(std::string_view name)
{
    std::string out = "\"";
    for (char c : name)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string SqlText(std::string_view text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string Show(const Table& rows)
{
    std::string out;
    for (const Row& row : rows) {
        out += "\n    ";
        for (const std::string& value : row)
            out += fuzz::Printable(value, 120) + " ";
    }
    return out;
}

struct TableState {
    Table columns;  // table_xinfo: name, type, not null, default, key, hidden
    Table indexes;  // each index with its columns
    Table foreignKeys;
    Table rows;  // sorted; with the rowid first where the table has one
};

struct Snapshot {
    std::map<std::string, std::string> schema;  // "schema type name" -> sql
    std::map<std::string, TableState> tables;  // "schema.name" -> state
    Table tableList;
    Table foreignKeys;
};

constexpr int kHiddenColumn = 5;  // of a table_xinfo row: 0 normal, 2 and 3 generated

// How a table's rows are taken: all of them with the rowid, or as a
// rebuild of `changed` keeps them: of `changed` the ordinary columns only
// and no rowid (generated values may follow the changed column; the rowid
// of a table without an INTEGER PRIMARY KEY is not kept); of SQLite's
// AUTOINCREMENT counters no rowid; of its statistics, which go with a
// dropped table until ANALYZE runs again, those of the other tables.
TableState TakeTable(sqlite3* db, const std::string& schema, const std::string& name, const std::string& changed)
{
    TableState state;
    const std::string arguments = "(" + SqlText(name) + ", '" + schema + "')";
    state.columns =
        Query(db, "SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo" + arguments);
    state.indexes =
        Query(db, "SELECT il.name, il.\"unique\", il.origin, il.partial, ii.seqno, ii.cid, ii.name, ii.\"desc\", "
                  "ii.coll, ii.\"key\" FROM pragma_index_list" +
                      arguments + " il, pragma_index_xinfo(il.name, '" + schema + "') ii ORDER BY il.name, ii.seqno");
    state.foreignKeys = Query(db, "SELECT * FROM pragma_foreign_key_list" + arguments);
    const bool rebuilt = !changed.empty() && schema == "main";
    const bool isChanged = rebuilt && name == changed;
    std::string list;
    for (const Row& column : state.columns) {
        if (!isChanged || column[kHiddenColumn] == "int:0")
            list += (list.empty() ? "" : ", ") + Quote(column[0].substr(5));
    }
    if (list.empty() || Failed(state.columns))
        return state;
    const std::string qualified = schema + "." + Quote(name);
    if (rebuilt && name.rfind("sqlite_stat", 0) == 0)
        state.rows = Query(db, "SELECT " + list + " FROM " + qualified + " WHERE tbl <> " + SqlText(changed));
    else if (isChanged || (rebuilt && name == "sqlite_sequence"))
        state.rows = Query(db, "SELECT " + list + " FROM " + qualified);
    else
        state.rows = Query(db, "SELECT rowid, " + list + " FROM " + qualified);
    if (Failed(state.rows))
        state.rows = Query(db, "SELECT " + list + " FROM " + qualified);
    std::sort(state.rows.begin(), state.rows.end());
    return state;
}

// The whole database; rows taken as a rebuild of `changed` keeps them when
// that is given.
Snapshot Take(sqlite3* db, const std::string& changed = {})
{
    Snapshot snapshot;
    for (const std::string schema : {"main", "temp"}) {
        for (const Row& object : Query(db, "SELECT type, name, sql FROM " + schema + ".sqlite_schema")) {
            if (object.size() < 3)
                continue;
            snapshot.schema[schema + " " + object[0] + " " + object[1]] = object[2];
            if (object[0] == "text:table") {
                const std::string name = object[1].substr(5);
                snapshot.tables[schema + "." + name] = TakeTable(db, schema, name, changed);
            }
        }
    }
    snapshot.tableList = Query(db, "SELECT schema, name, type, ncol, wr, strict FROM pragma_table_list ORDER BY 1, 2");
    snapshot.foreignKeys = Query(db, "PRAGMA foreign_keys");
    return snapshot;
}

void ExpectSameTable(const TableState& before, const TableState& after, const fuzz::Context& context)
{
    FUZZ_CHECK(before.columns == after.columns,
               context() + "\ncolumns" + Show(before.columns) + "\nnow" + Show(after.columns));
    FUZZ_CHECK(before.indexes == after.indexes,
               context() + "\nindexes" + Show(before.indexes) + "\nnow" + Show(after.indexes));
    FUZZ_CHECK(before.foreignKeys == after.foreignKeys,
               context() + "\nforeign keys" + Show(before.foreignKeys) + "\nnow" + Show(after.foreignKeys));
    FUZZ_CHECK(before.rows == after.rows, context() + "\nrows" + Show(before.rows) + "\nnow" + Show(after.rows));
}

// The two snapshots agree on everything but the schema entry and the state
// of `except` ("main.name"; none when empty).
void ExpectSameBut(const Snapshot& before, const Snapshot& after, const std::string& except,
                   const fuzz::Context& context)
{
    FUZZ_CHECK(before.foreignKeys == after.foreignKeys, context() + "\nforeign keys switched");
    FUZZ_CHECK(before.tableList == after.tableList,
               context() + "\ntables" + Show(before.tableList) + "\nnow" + Show(after.tableList));
    FUZZ_CHECK(before.schema.size() == after.schema.size(), context() + "\nschema objects added or lost");
    const std::string exceptEntry = except.empty() ? "" : "main text:table text:" + except.substr(5);
    for (const auto& [key, sql] : before.schema) {
        const auto found = after.schema.find(key);
        FUZZ_CHECK(found != after.schema.end(), context() + "\n" + key + " is gone");
        if (key != exceptEntry)
            FUZZ_CHECK_TEXT(found->second, sql, context() + "\n" + key);
    }
    for (const auto& [name, state] : before.tables) {
        const auto found = after.tables.find(name);
        FUZZ_CHECK(found != after.tables.end(), context() + "\ntable " + name + " is gone");
        const std::string& table = name;
        if (table != except)
            ExpectSameTable(state, found->second, [&] { return context() + "\ntable " + table; });
    }
}

// Budget of virtual-machine steps, in thousands; SQLite stops a statement
// that goes beyond it.
int stepsLeft = 0;
int Progress(void*) { return --stepsLeft < 0; }

// What the building SQL may do: build and fill the schema, read, switch
// foreign keys; no transaction, no other database, no other setting.
int Authorize(void*, int action, const char* first, const char*, const char*, const char*)
{
    static constexpr int kAllowed[] = {
        SQLITE_CREATE_INDEX,
        SQLITE_CREATE_TABLE,
        SQLITE_CREATE_TEMP_INDEX,
        SQLITE_CREATE_TEMP_TABLE,
        SQLITE_CREATE_TEMP_TRIGGER,
        SQLITE_CREATE_TEMP_VIEW,
        SQLITE_CREATE_TRIGGER,
        SQLITE_CREATE_VIEW,
        SQLITE_DELETE,
        SQLITE_DROP_INDEX,
        SQLITE_DROP_TABLE,
        SQLITE_DROP_TEMP_INDEX,
        SQLITE_DROP_TEMP_TABLE,
        SQLITE_DROP_TEMP_TRIGGER,
        SQLITE_DROP_TEMP_VIEW,
        SQLITE_DROP_TRIGGER,
        SQLITE_DROP_VIEW,
        SQLITE_INSERT,
        SQLITE_READ,
        SQLITE_SELECT,
        SQLITE_UPDATE,
        SQLITE_ALTER_TABLE,
        SQLITE_REINDEX,
        SQLITE_ANALYZE,
        SQLITE_FUNCTION,
        SQLITE_RECURSIVE,
    };
    if (action == SQLITE_PRAGMA)
        return first != nullptr && sqlite3_stricmp(first, "foreign_keys") == 0 ? SQLITE_OK : SQLITE_DENY;
    return std::find(std::begin(kAllowed), std::end(kAllowed), action) != std::end(kAllowed) ? SQLITE_OK : SQLITE_DENY;
}

bool SameNameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && sqlite3_strnicmp(a.data(), b.data(), static_cast<int>(a.size())) == 0;
}

// A declared type without blanks, its ASCII letters in upper case.
std::string Compact(std::string_view type)
{
    std::string out;
    for (char c : type) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            out += c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto fields = fuzz::Fields<2>(data, size);
    const std::string_view setup = fields[0];
    const std::string_view statement = fields[1];
    const std::optional<hostmodel::AlterColumnRequest> request = hostmodel::ParseAlterColumn(statement);
    if (!request)
        return 0;
    const fuzz::Context context = [&] {
        return std::string("setup " + fuzz::Printable(setup, 2000) + "\nstatement " + fuzz::Printable(statement));
    };

    const std::unique_ptr<hostmodel::SqliteConnection> connection = hostmodel::SqliteConnection::OpenInMemory();
    sqlite3* db = connection->Handle();
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 100000);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);  // no other file, no VACUUM
    sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 100);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 10);
    sqlite3_exec(db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);

    sqlite3_set_authorizer(db, Authorize, nullptr);
    stepsLeft = 2000;
    sqlite3_progress_handler(db, 1000, Progress, nullptr);
    sqlite3_exec(db, std::string(setup).c_str(), nullptr, nullptr, nullptr);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    if (!sqlite3_get_autocommit(db))
        return 0;

    // The table and column the statement names, as the translator finds them.
    std::string table;
    for (const Row& row : Query(db, "SELECT name FROM main.sqlite_schema WHERE type = 'table' AND name = " +
                                        SqlText(request->table) + " COLLATE NOCASE"))
        if (table.empty() && row.front().rfind("text:", 0) == 0)
            table = row.front().substr(5);
    std::string column;
    if (!table.empty()) {
        for (const Row& row : Query(db, "SELECT name FROM pragma_table_info(" + SqlText(table) + ", 'main')"))
            if (column.empty() && SameNameIgnoringAsciiCase(row.front().substr(5), request->column))
                column = row.front().substr(5);
    }
    const Snapshot before = Take(db);
    const Snapshot beforeOrdinary = Take(db, table);

    stepsLeft = 20000;
    sqlite3_progress_handler(db, 1000, Progress, nullptr);
    hostmodel::StatementOutcome outcome;
    try {
        outcome = hostmodel::AlterColumnType(*connection, *request);
    } catch (const std::exception& e) {
        fuzz::Fail(__FILE__, __LINE__, "AlterColumnType threw", context() + "\n" + e.what());
    }
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    FUZZ_CHECK(sqlite3_get_autocommit(db), context() + "\na transaction is left open");

    if (!outcome.done) {
        FUZZ_CHECK(!outcome.message.empty(), context() + "\na failure without a message");
        ExpectSameBut(before, Take(db), "", [&] { return context() + "\nfailed: " + outcome.message; });
        return 0;
    }
    FUZZ_CHECK(outcome.message.empty(), context());
    FUZZ_CHECK(!table.empty() && !column.empty(), context() + "\ndone on a column that is not there");
    FUZZ_CHECK(Query(db, "PRAGMA main.integrity_check") == Table {{"text:ok"}}, context() + "\nintegrity");

    const std::string changed = "main." + table;
    const Snapshot after = Take(db, table);
    ExpectSameBut(beforeOrdinary, after, changed, context);

    // The changed table: the column declared Text(n), everything else of
    // its columns, indexes and foreign keys as it was.
    const TableState& old = beforeOrdinary.tables.at(changed);
    const TableState& now = after.tables.at(changed);
    FUZZ_CHECK(old.indexes == now.indexes, context() + "\nindexes" + Show(old.indexes) + "\nnow" + Show(now.indexes));
    FUZZ_CHECK(old.foreignKeys == now.foreignKeys, context() + "\nforeign keys");
    FUZZ_CHECK(old.columns.size() == now.columns.size(),
               context() + "\ncolumns" + Show(old.columns) + "\nnow" + Show(now.columns));
    Table expectedColumns = old.columns;
    std::size_t ordinary = 0;  // among the ordinary columns, as the rows hold them
    std::size_t changedAt = SIZE_MAX;
    const std::string newType = "Text(" + std::to_string(request->length) + ")";
    for (Row& expected : expectedColumns) {
        if (expected[0] == "text:" + column) {
            // A column already so declared (letter case and blanks aside)
            // keeps its text.
            if (Compact(expected[1].substr(5)) != Compact(newType))
                expected[1] = "text:" + newType;
            changedAt = ordinary;
        }
        if (expected[kHiddenColumn] == "int:0")
            ++ordinary;
    }
    FUZZ_CHECK(changedAt != SIZE_MAX, context() + "\nthe column is no ordinary one");
    FUZZ_CHECK(expectedColumns == now.columns,
               context() + "\ncolumns" + Show(expectedColumns) + "\nnow" + Show(now.columns));

    // Its rows as they were, the column's numbers now their texts.
    Table expectedRows = old.rows;
    for (Row& row : expectedRows) {
        std::string& value = row.at(changedAt);
        if (value.rfind("int:", 0) == 0)
            value = "text:" + value.substr(4);
        else if (value.rfind("real:", 0) == 0)
            value = "text:" + value.substr(5);
    }
    std::sort(expectedRows.begin(), expectedRows.end());
    FUZZ_CHECK(expectedRows == now.rows, context() + "\nrows" + Show(expectedRows) + "\nnow" + Show(now.rows));
    return 0;
}
