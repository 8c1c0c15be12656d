#include "util/FastStrings.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace util {

namespace {

// Boyer-Moore-Horspool skip table: for each byte value, how far a candidate
// may move when that byte lies under the last position of the find text.
using SkipTable = std::array<std::size_t, 256>;

SkipTable BuildSkipTable(std::string_view find) noexcept
{
    SkipTable skip;
    skip.fill(find.size());
    for (std::size_t i = 0; i + 1 < find.size(); ++i)
        skip[static_cast<unsigned char>(find[i])] = find.size() - 1 - i;
    return skip;
}

// Compares a candidate from its last byte backwards.
bool MatchesAt(std::string_view source, std::size_t at, std::string_view find) noexcept
{
    for (std::size_t j = find.size(); j > 0; --j) {
        if (source[at + j - 1] != find[j - 1])
            return false;
    }
    return true;
}

// One output buffer, sized in advance and grown by half when a write would
// not fit; cut to the written length at the end.
class OutputBuffer {
public:
    OutputBuffer(std::size_t sourceLength, std::size_t findLength, std::size_t replacementLength)
    {
        if (!TryReserve(InitialSize(sourceLength, findLength, replacementLength))) {
            const std::uint64_t fallback =
                (static_cast<std::uint64_t>(sourceLength) + replacementLength) * 3 / 2;
            if (fallback > buffer_.max_size())
                throw std::bad_alloc();
            buffer_.resize(static_cast<std::size_t>(fallback));
        }
    }

    void Write(std::string_view bytes)
    {
        if (bytes.empty())
            return;
        const std::size_t needed = written_ + bytes.size();
        if (needed > buffer_.size()) {
            std::size_t size = buffer_.size();
            while (size < needed) {
                const std::size_t half = size / 2 > 0 ? size / 2 : 1;
                if (size > buffer_.max_size() - half)
                    throw std::bad_alloc();
                size += half;
            }
            buffer_.resize(size);
        }
        std::memcpy(buffer_.data() + written_, bytes.data(), bytes.size());
        written_ = needed;
    }

    std::string Take()
    {
        buffer_.resize(written_);
        return std::move(buffer_);
    }

private:
    // The source length, or source length x replacement length / find
    // length when the replacement is the longer: room for the case where
    // the whole source is occurrences. Zero when that size is out of reach.
    static std::uint64_t InitialSize(std::size_t sourceLength, std::size_t findLength,
                                     std::size_t replacementLength) noexcept
    {
        if (replacementLength <= findLength)
            return sourceLength;
        return static_cast<std::uint64_t>(sourceLength) * replacementLength / findLength;
    }

    bool TryReserve(std::uint64_t size)
    {
        if (size > buffer_.max_size())
            return false;
        try {
            buffer_.resize(static_cast<std::size_t>(size));
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        } catch (const std::length_error&) {
            return false;
        }
    }

    std::string buffer_;
    std::size_t written_ = 0;
};

} // namespace

std::string ReplaceAllText(std::string_view source, std::string_view find, std::string_view replacement)
{
    if (source.empty())
        return std::string();
    if (find.empty() || find.size() > source.size())
        return std::string(source);

    const SkipTable skip = BuildSkipTable(find);
    OutputBuffer output(source.size(), find.size(), replacement.size());
    const std::size_t lastOffset = find.size() - 1;
    const char last = find.back();
    std::size_t copiedUpTo = 0;
    std::size_t at = 0;
    while (at + find.size() <= source.size()) {
        // No candidate can match before the next place where the find
        // text's last byte lies under its last position: the C library's
        // byte search goes there at once, past every shift in between.
        if (source[at + lastOffset] != last) {
            const void* next = std::memchr(source.data() + at + lastOffset, last, source.size() - at - lastOffset);
            if (next == nullptr)
                break;
            at = static_cast<std::size_t>(static_cast<const char*>(next) - source.data()) - lastOffset;
        }
        if (MatchesAt(source, at, find)) {
            output.Write(source.substr(copiedUpTo, at - copiedUpTo));
            output.Write(replacement);
            at += find.size();
            copiedUpTo = at;
        } else {
            at += skip[static_cast<unsigned char>(last)];
        }
    }
    output.Write(source.substr(copiedUpTo));
    return output.Take();
}

} // namespace util
