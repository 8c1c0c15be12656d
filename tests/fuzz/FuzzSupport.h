#pragma once
// What every fuzz target shares: splitting one input into fields, and a
// check that stops the run with the inputs shown, which libFuzzer records
// as a crash with its input as the artifact.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

namespace fuzz {

// What a failed check shows of the input; built only then, since making
// texts printable would cost more than most checks.
using Context = std::function<std::string()>;

// The input as `N` fields, split at its first N - 1 NUL bytes; fields that
// the input does not reach are empty, and the last one keeps any further NUL.
template <std::size_t N> std::array<std::string_view, N> Fields(const std::uint8_t* data, std::size_t size)
{
    std::array<std::string_view, N> fields {};
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const std::size_t nul = rest.find('\0');
        if (nul == std::string_view::npos) {
            fields[i] = rest;
            return fields;
        }
        fields[i] = rest.substr(0, nul);
        rest.remove_prefix(nul + 1);
    }
    fields[N - 1] = rest;
    return fields;
}

// A text as C would write it: printable ASCII as it is, every other byte
// as \xNN. Cut after `limit` bytes.
inline std::string Printable(std::string_view text, std::size_t limit = 400)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            out += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        }
    }
    if (text.size() > limit)
        out += "...(" + std::to_string(text.size()) + " bytes)";
    return out + "\"";
}

// A failed check's details: a text, or a context that makes one.
inline std::string Describe(const std::string& text) { return text; }
inline std::string Describe(const Context& context) { return context(); }

[[noreturn]] inline void Fail(const char* file, int line, const char* condition, const std::string& details)
{
    std::fprintf(stderr, "\n%s:%d: check failed: %s\n%s\n", file, line, condition, details.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace fuzz

// FUZZ_CHECK(condition, details): `details` (a text, or a fuzz::Context)
// is made only when the condition fails.
#define FUZZ_CHECK(condition, details)                                                                                 \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::fuzz::Fail(__FILE__, __LINE__, #condition, ::fuzz::Describe(details));                                   \
    } while (false)

// Two values that must be equal; texts are shown printable.
#define FUZZ_CHECK_TEXT(actual, expected, context)                                                                     \
    do {                                                                                                               \
        const std::string fuzzActual_ {actual};                                                                        \
        const std::string fuzzExpected_ {expected};                                                                    \
        if (fuzzActual_ != fuzzExpected_)                                                                              \
            ::fuzz::Fail(__FILE__, __LINE__, #actual " == " #expected,                                                 \
                         ::fuzz::Describe(context) + "\n  actual:   " + ::fuzz::Printable(fuzzActual_) +               \
                             "\n  expected: " + ::fuzz::Printable(fuzzExpected_));                                     \
    } while (false)
