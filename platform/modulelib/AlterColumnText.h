#pragma once
// Recognising Access's "ALTER TABLE t ALTER COLUMN c Text(n)", which SQLite
// has no form for, in a statement's text. Pure text; a linear scan, so no
// length of statement can exhaust the stack.
#include <optional>
#include <string>
#include <string_view>

namespace hostmodel {

struct AlterColumnRequest {
    std::string table;   // unquoted, UTF-8
    std::string column;  // unquoted, UTF-8
    int length = 0;      // n of Text(n)
};

// The request when `sql` (UTF-8) is such a statement: keywords in any case,
// separated by blanks (space, tab, CR, LF, VT, FF); names bare or quoted
// with [], "" or ``; 1 to 9 digits for n; blanks allowed around the
// parentheses and n; an optional trailing semicolon.
std::optional<AlterColumnRequest> ParseAlterColumn(std::string_view sql);

} // namespace hostmodel
