#pragma once
// Reading the text of an SQLite CREATE TABLE statement well enough to change
// one column's declared type and keep everything else (constraints,
// defaults, collations, table constraints, WITHOUT ROWID).
#include <optional>
#include <string>
#include <string_view>

namespace hostmodel {

// The part of `createSql` from the opening parenthesis of its column list
// to the end, with the declared type of `column` (ASCII case ignored as
// SQLite ignores it; the name may be quoted in the statement) replaced by `newType`, or given
// `newType` when it declared none. None when the column list cannot be read
// or holds no such column. All texts are UTF-8, as SQLite keeps them.
std::optional<std::string> ReplaceColumnType(std::string_view createSql, std::string_view column,
                                             std::string_view newType);

} // namespace hostmodel
