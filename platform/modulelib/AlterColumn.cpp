#include "AlterColumn.h"

#include "CreateTableText.h"
#include "HostText.h"
#include "sharedrt/RtError.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace hostmodel {
namespace {

std::string QuoteName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string CompactUpper(std::string_view type)
{
    std::string out;
    for (char c : type)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            out += c;
    return Utf8AsciiUpper(out);
}

// A name for the new table that no object of the schema has.
std::string FreeTableName(SqliteConnection& db, const std::string& table)
{
    for (int i = 0;; ++i) {
        const std::string candidate = table + "__rebuild" + (i == 0 ? "" : std::to_string(i));
        if (db.Rows("SELECT 1 FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE", {candidate}).empty())
            return candidate;
    }
}

// The triggers of both schemas in the order they were made, each as its
// schema, name, place and the statement that makes it again where it was.
std::vector<std::vector<std::string>> Triggers(SqliteConnection& db)
{
    // SQLite keeps a trigger's text as "CREATE TRIGGER …"; one of the
    // temporary schema is made there again only when its statement says TEMP.
    return db.Rows("SELECT 'main', name, rowid, sql FROM main.sqlite_schema WHERE type = 'trigger' "
                   "UNION ALL SELECT 'temp', name, rowid, 'CREATE TEMP TRIGGER ' || substr(sql, 16) "
                   "FROM temp.sqlite_schema WHERE type = 'trigger' ORDER BY 1, 3");
}

void Rebuild(SqliteConnection& db, const std::string& table, const std::string& newDefinition)
{
    // Indexes go with the old table; views that name it would stop the
    // rename, so all views are set aside and made again.
    std::vector<std::string> remade;
    for (const auto& row : db.Rows("SELECT sql FROM sqlite_schema WHERE sql IS NOT NULL AND "
                                   "((type = 'index' AND tbl_name = ?1) OR type = 'view') ORDER BY rowid",
                                   {table}))
        remade.push_back(row[0]);
    // Triggers go with the table and with the views they are on. A trigger
    // names its table as its statement wrote it (in another case, from the
    // temporary schema), so which ones went shows only in what is left.
    const std::vector<std::vector<std::string>> triggers = Triggers(db);
    for (const auto& row : db.Rows("SELECT name FROM sqlite_schema WHERE type = 'view'"))
        db.Exec("DROP VIEW " + QuoteName(row[0]));

    // The AUTOINCREMENT counter goes with the dropped table, and the new
    // one would count on from the largest id copied, giving the ids of
    // deleted rows again: it is carried over as it was, or as its absence.
    const bool counters = !db.Rows("SELECT 1 FROM sqlite_schema WHERE name = 'sqlite_sequence'").empty();
    std::vector<std::vector<std::string>> counter;
    if (counters)
        counter = db.Rows("SELECT seq FROM sqlite_sequence WHERE name = ?1", {table});

    std::string columns;
    for (const auto& row : db.Rows("SELECT name FROM pragma_table_info(?1)", {table}))
        columns += (columns.empty() ? "" : ", ") + QuoteName(row[0]);

    const std::string scratch = FreeTableName(db, table);
    db.Exec("CREATE TABLE " + QuoteName(scratch) + " " + newDefinition);
    db.Exec("INSERT INTO " + QuoteName(scratch) + " (" + columns + ") SELECT " + columns + " FROM " +
            QuoteName(table));
    db.Exec("DROP TABLE " + QuoteName(table));
    const std::vector<std::vector<std::string>> kept = Triggers(db);
    for (const auto& trigger : triggers)
        if (std::find(kept.begin(), kept.end(), trigger) == kept.end())
            remade.push_back(trigger[3]);
    db.Exec("ALTER TABLE " + QuoteName(scratch) + " RENAME TO " + QuoteName(table));
    if (counters) {
        db.Rows("DELETE FROM sqlite_sequence WHERE name = ?1", {table});
        if (!counter.empty())
            db.Rows("INSERT INTO sqlite_sequence (name, seq) VALUES (?1, CAST(?2 AS INTEGER))", {table, counter[0][0]});
    }
    for (const std::string& statement : remade)
        db.Exec(statement);
}

// The column's declared type as the schema holds it; none when the table
// has no such column (names compare as SQLite compares them).
std::optional<std::string> DeclaredType(SqliteConnection& db, const std::string& table, const std::string& column)
{
    for (const auto& row : db.Rows("SELECT name, type FROM pragma_table_info(?1)", {table}))
        if (Utf8EqualsIgnoringAsciiCase(row[0], column))
            return row[1];
    return std::nullopt;
}

StatementOutcome Failed(std::string message)
{
    StatementOutcome outcome;
    outcome.message = std::move(message);
    return outcome;
}

} // namespace

StatementOutcome AlterColumnType(SqliteConnection& db, const AlterColumnRequest& request)
{
    const auto tables = db.Rows(
        "SELECT name, sql FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE", {request.table});
    if (tables.empty())
        return Failed("表" + Utf8ToGbk(request.table) + "不存在");
    const std::string table = tables[0][0];

    const std::optional<std::string> declaredType = DeclaredType(db, table, request.column);
    if (!declaredType)
        return Failed("表" + Utf8ToGbk(table) + "中没有列" + Utf8ToGbk(request.column));

    const std::string newType = "Text(" + std::to_string(request.length) + ")";
    StatementOutcome outcome;
    if (CompactUpper(*declaredType) == CompactUpper(newType)) {
        outcome.done = true;
        return outcome;
    }
    const std::optional<std::string> definition = ReplaceColumnType(tables[0][1], request.column, newType);
    if (!definition)
        return Failed("无法读取表" + Utf8ToGbk(table) + "的定义");

    // Foreign keys cannot be switched inside a transaction; the rebuild
    // needs them off, as SQLite's own procedure says.
    const bool foreignKeys = db.Rows("PRAGMA foreign_keys")[0][0] == "1";
    if (foreignKeys)
        db.Exec("PRAGMA foreign_keys = OFF");
    // Outside a transaction the savepoint is the transaction: its release
    // is the commit, and undoing it must end the transaction without one (a
    // release after "ROLLBACK TO" would commit an empty transaction).
    const bool ownTransaction = !db.InTransaction();
    std::string failure;
    bool rebuilt = false;
    try {
        db.Exec("SAVEPOINT alter_column");
        Rebuild(db, table, *definition);
        rebuilt = true;
        db.Exec("RELEASE alter_column");
    } catch (const rt::Error& e) {
        failure = e.what();
        if (!ownTransaction)
            db.RunQuietly("ROLLBACK TO alter_column; RELEASE alter_column");
        else if (db.InTransaction())
            db.RunQuietly("ROLLBACK");
    }
    // A commit that ended with an error may still have reached the file:
    // what the schema now says decides.
    const auto nowDeclared = [&] {
        try {
            return DeclaredType(db, table, request.column).value_or("");
        } catch (const rt::Error&) {
            return std::string();  // the schema cannot be read: nothing shows the change
        }
    };
    const bool done = failure.empty() || (ownTransaction && rebuilt && !db.InTransaction() &&
                                          CompactUpper(nowDeclared()) == CompactUpper(newType));
    if (foreignKeys)
        db.RunQuietly("PRAGMA foreign_keys = ON");
    if (!done)
        return Failed(std::string("修改列") + Utf8ToGbk(request.column) + "失败：" + failure);
    outcome.done = true;
    return outcome;
}

StatementOutcome RunHostStatement(SqliteConnection& db, std::string_view sql)
{
    const std::string utf8 = GbkToUtf8(sql);
    if (const std::optional<AlterColumnRequest> request = ParseAlterColumn(utf8))
        return AlterColumnType(db, *request);
    return db.RunOne(utf8);
}

} // namespace hostmodel
