#pragma once
// Access's "ALTER TABLE t ALTER COLUMN c Text(n)", which SQLite has no form
// for, carried out as SQLite's table rebuild.
#include "AlterColumnText.h"
#include "SqliteConnection.h"

#include <string>
#include <string_view>

namespace hostmodel {

// Gives the column the declared type Text(n): in one savepoint, a new table
// with the column so declared, the data copied, the old table dropped, the
// new one renamed, and its indexes and triggers (and every view, which the
// rebuild must set aside) made again. Nothing happens when the column is
// already so declared. A missing table or column, or any SQLite failure,
// gives an outcome that is not done, with the database as it was.
StatementOutcome AlterColumnType(SqliteConnection& db, const AlterColumnRequest& request);

// One statement of the host: the Access column change as above, anything
// else to SQLite as it is. `sql` is GBK.
StatementOutcome RunHostStatement(SqliteConnection& db, std::string_view sql);

} // namespace hostmodel
