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
//
// Where the processor has SSE2 the scan takes 16 bytes a step; the 32-bit
// build asks the processor once, at the first call, and otherwise runs the
// portable skip-table search. Both give the same result.
std::string ReplaceAllText(std::string_view source, std::string_view find, std::string_view replacement);

namespace detail {

// The two scans behind ReplaceAllText, reachable here so that every build
// can check each of them whatever processor it runs on.

// The portable one: a Boyer-Moore-Horspool search on any processor.
std::string ReplaceAllTextBySkips(std::string_view source, std::string_view find, std::string_view replacement);

// Whether this build has the SSE2 scan and the processor can run it.
bool VectorScanAvailable() noexcept;

// The SSE2 one. Only to be called when VectorScanAvailable(); a build
// without it runs the portable scan here.
std::string ReplaceAllTextByVectors(std::string_view source, std::string_view find, std::string_view replacement);

} // namespace detail

} // namespace util
