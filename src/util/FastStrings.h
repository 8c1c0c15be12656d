#pragma once
// Case-sensitive replace-all for texts of any size.
#include <string>
#include <string_view>

namespace util {

// `source` with every occurrence of `find` (byte-exact) replaced by
// `replacement`. The source is scanned once from left to right; occurrences
// never overlap and a replacement is never scanned again, so "aa" by "b" in
// "aaaa" gives "bb". An empty `find` returns the source unchanged.
// Throws std::bad_alloc only when even the grown output cannot be had.
std::string ReplaceAllText(std::string_view source, std::string_view find, std::string_view replacement);

namespace detail {

// The same replace-all scanning eight bytes at a time in a plain integer:
// what ReplaceAllText runs where the processor offers no SSE2 (the 32-bit
// build), reachable here so that every build can check it.
std::string ReplaceAllTextByWords(std::string_view source, std::string_view find, std::string_view replacement);

} // namespace detail

} // namespace util
