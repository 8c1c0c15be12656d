#include "util/FastStrings.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#if defined(__i386__) || defined(__x86_64__)
#define FAST_STRINGS_VECTOR_SCAN 1
#include <cpuid.h>
#include <emmintrin.h>
#else
#define FAST_STRINGS_VECTOR_SCAN 0
#endif

namespace util {

namespace {

// Bytes past the written length that a block store or a short replacement
// may touch; the buffer always keeps them, and they are cut at the end.
constexpr std::size_t kSlack = 64;

// One output buffer, sized in advance and grown by half when a write would
// not fit; cut to the written length at the end. The writer keeps its own
// cursor into the buffer.
class OutputBuffer {
public:
    OutputBuffer(std::size_t sourceLength, std::size_t findLength, std::size_t replacementLength)
    {
        worstCase_ = TryReserve(InitialSize(sourceLength, findLength, replacementLength));
        if (!worstCase_) {
            const std::uint64_t fallback =
                (static_cast<std::uint64_t>(sourceLength) + replacementLength) * 3 / 2 + kSlack;
            if (fallback > buffer_.max_size())
                throw std::bad_alloc();
            buffer_.resize(static_cast<std::size_t>(fallback));
        }
    }

    // Whether the buffer holds the longest output the source can give and
    // the slack behind it: then no write needs to ask for room.
    bool HoldsWorstCase() const noexcept { return worstCase_; }

    char* Begin() noexcept { return buffer_.data(); }

    char* Write(char* cursor, const char* bytes, std::size_t count)
    {
        if (static_cast<std::size_t>(buffer_.data() + buffer_.size() - cursor) < count)
            cursor = Grow(cursor, count);
        if (count > 0)
            std::memcpy(cursor, bytes, count);
        return cursor + count;
    }

    std::string Take(char* cursor)
    {
        buffer_.resize(static_cast<std::size_t>(cursor - buffer_.data()));
        return std::move(buffer_);
    }

private:
    // The source length, or source length x replacement length / find
    // length when the replacement is the longer: room for the case where
    // the whole source is occurrences. Max when that size is out of reach.
    static std::uint64_t InitialSize(std::size_t sourceLength, std::size_t findLength,
                                     std::size_t replacementLength) noexcept
    {
        const std::uint64_t size = replacementLength <= findLength
                                       ? sourceLength
                                       : static_cast<std::uint64_t>(sourceLength) * replacementLength / findLength;
        return size > UINT64_MAX - kSlack ? UINT64_MAX : size + kSlack;
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

    char* Grow(char* cursor, std::size_t count)
    {
        const std::size_t written = static_cast<std::size_t>(cursor - buffer_.data());
        if (count > buffer_.max_size() - written)
            throw std::bad_alloc();
        const std::size_t needed = written + count;
        std::size_t size = buffer_.size();
        while (size < needed) {
            const std::size_t half = size / 2 > 0 ? size / 2 : 1;
            if (size > buffer_.max_size() - half)
                throw std::bad_alloc();
            size += half;
        }
        buffer_.resize(size);
        return buffer_.data() + written;
    }

    std::string buffer_;
    bool worstCase_ = false;
};

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

// The portable scan, writing into `output` from its start; every write asks
// for room, so any buffer size does. `find` is not empty and not longer
// than `source`.
std::string ReplaceWithSkips(std::string_view source, std::string_view find, std::string_view replacement,
                             OutputBuffer& output)
{
    const SkipTable skip = BuildSkipTable(find);
    const std::size_t lastOffset = find.size() - 1;
    const char last = find.back();
    char* out = output.Begin();
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
            out = output.Write(out, source.data() + copiedUpTo, at - copiedUpTo);
            out = output.Write(out, replacement.data(), replacement.size());
            at += find.size();
            copiedUpTo = at;
        } else {
            at += skip[static_cast<unsigned char>(last)];
        }
    }
    out = output.Write(out, source.data() + copiedUpTo, source.size() - copiedUpTo);
    return output.Take(out);
}

// The cases every scan answers alike; false when the scan has to run.
bool TrivialReplace(std::string_view source, std::string_view find, std::string& result)
{
    if (source.empty()) {
        result.clear();
        return true;
    }
    if (find.empty() || find.size() > source.size()) {
        result.assign(source);
        return true;
    }
    return false;
}

#if FAST_STRINGS_VECTOR_SCAN
#if !defined(__SSE2__)
// The 32-bit build keeps its minimum processor: only the code from here to
// the matching pop may use SSE2, and it runs only where the processor has it.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("sse2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("sse2")
#endif
#endif

inline __m128i Load16(const char* at) noexcept
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

inline void Store16(char* to, __m128i bytes) noexcept
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
}

// Up to 16 bytes in a register, zero behind them. Assembled in integers:
// a load from a stack copy just written would wait for the copy's stores.
inline __m128i Padded16(std::string_view bytes) noexcept
{
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 16; ++i) {
        const std::uint64_t byte = static_cast<unsigned char>(bytes[i]);
        if (i < 8)
            low |= byte << (8 * i);
        else
            high |= byte << (8 * (i - 8));
    }
    return _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
}

// The scan's step: 16 bytes, one bit per byte. Longer steps measured
// slower: each occurrence stores the rest of its step once more.
constexpr std::size_t kBlock = 16;
using BlockMask = unsigned;

inline void CopyBlock(char* to, const char* from) noexcept
{
    Store16(to, Load16(from));
}

// The candidates of a block: bit i set when the byte at `at` + i equals the
// find text's first byte and the byte `lastOffset` further its last byte.
class CandidateScan {
public:
    explicit CandidateScan(std::string_view find) noexcept
        : first_(_mm_set1_epi8(find.front())), last_(_mm_set1_epi8(find.back())), lastOffset_(find.size() - 1)
    {
    }

    BlockMask Candidates(const char* at) const noexcept
    {
        const __m128i heads = _mm_cmpeq_epi8(Load16(at), first_);
        const __m128i tails = _mm_cmpeq_epi8(Load16(at + lastOffset_), last_);
        return static_cast<BlockMask>(_mm_movemask_epi8(_mm_and_si128(heads, tails)));
    }

private:
    __m128i first_;
    __m128i last_;
    std::size_t lastOffset_;
};

// Whole-occurrence check for find texts of up to 16 bytes: one load of 16
// bytes compared under a mask, so it reads 16 bytes from the candidate
// whatever the find text's length.
class ShortFind {
public:
    static constexpr std::size_t kLongest = 16;
    static constexpr std::size_t kReads = 16;

    explicit ShortFind(std::string_view find) noexcept
    {
        pattern_ = Padded16(find);
        mask_ = static_cast<unsigned>((1ull << find.size()) - 1);
    }

    bool Match(const char* at) const noexcept
    {
        const unsigned equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(Load16(at), pattern_)));
        return (equal & mask_) == mask_;
    }

private:
    __m128i pattern_;
    unsigned mask_;
};

// Whole-occurrence check for longer find texts: the inner bytes, as the
// first and last are known to match.
class LongFind {
public:
    static constexpr std::size_t kReads = 0;

    explicit LongFind(std::string_view find) noexcept : find_(find) {}

    bool Match(const char* at) const noexcept
    {
        return std::memcmp(at + 1, find_.data() + 1, find_.size() - 2) == 0;
    }

private:
    std::string_view find_;
};

// What is written at an occurrence: up to 16 bytes as one store of a padded
// copy, longer ones by the C library.
class ReplacementWriter {
public:
    explicit ReplacementWriter(std::string_view replacement) noexcept
        : replacement_(replacement), short_(replacement.size() <= 16), padded_(Padded16(replacement))
    {
    }

    char* Write(char* out) const noexcept
    {
        if (short_)
            Store16(out, padded_);
        else
            std::memcpy(out, replacement_.data(), replacement_.size());
        return out + replacement_.size();
    }

private:
    std::string_view replacement_;
    bool short_;
    __m128i padded_;
};

// One pass that finds and copies at once, over text[pos, size), writing at
// `cursor`, which stands for `pos`, into a buffer that holds the worst case.
// Each step takes the block of candidates starting at `pos`, stores the
// block's bytes behind the cursor, and looks only at positions whose first
// and last bytes match. At an occurrence the cursor moves up to it, the
// replacement overwrites what the block store put there, and the rest of the
// block is stored once more behind the replacement; the candidates inside
// the occurrence are dropped. An occurrence that runs past the block makes
// the next step start right behind it. Blocks run while every load of theirs lies inside the
// text. Returns the position the cursor then stands for: past the last
// block, so it may lie beyond the candidates.
template <typename Inner>
std::size_t ReplaceBlocks(const char* text, std::size_t size, std::size_t pos, std::size_t findSize,
                          const CandidateScan& scanSetUp, const Inner& innerSetUp,
                          const ReplacementWriter& replacementSetUp, char*& cursor) noexcept
{
    // Local copies: the output is written through a char pointer, which may
    // alias anything, so members read through references would be loaded
    // again after every store; these stay in registers.
    const CandidateScan scan = scanSetUp;
    const Inner inner = innerSetUp;
    const ReplacementWriter replacement = replacementSetUp;
    const std::size_t reach = std::max(findSize - 1 + kBlock, kBlock - 1 + Inner::kReads);
    if (size < reach)
        return pos;
    const std::size_t lastBlock = size - reach;
    // The rest of a block behind an occurrence, from below the block's end,
    // can always be loaded whole: a reach of at least two blocks less one
    // byte leaves room for it.
    static_assert(kBlock - 1 + ShortFind::kReads >= 2 * kBlock - 1);
    static_assert(ShortFind::kLongest + kBlock >= 2 * kBlock - 1);
    char* out = cursor;
    while (pos <= lastBlock) {
        const std::size_t block = pos;
        const std::size_t next = block + kBlock;
        BlockMask candidates = scan.Candidates(text + block);
        CopyBlock(out, text + block);
        for (;;) {
            if (candidates == 0) {
                out += next - pos;
                pos = next;
                break;
            }
            const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(candidates));
            candidates &= candidates - 1;
            if (!inner.Match(text + at))
                continue;
            out = replacement.Write(out + (at - pos));
            pos = at + findSize;
            if (pos >= next)
                break;
            CopyBlock(out, text + pos);
            candidates &= ~BlockMask {0} << (pos - block);
        }
    }
    cursor = out;
    return pos;
}

// A source too short for one block is scanned in a padded copy when its
// find text is up to this long.
constexpr std::size_t kPaddedFind = 64;

template <typename Inner>
std::string ReplaceWithBlocks(std::string_view source, std::string_view find, std::string_view replacement,
                              const Inner& inner, OutputBuffer& output)
{
    const CandidateScan scan(find);
    const ReplacementWriter writer(replacement);
    char* out = output.Begin();
    const std::size_t pos =
        ReplaceBlocks(source.data(), source.size(), 0, find.size(), scan, inner, writer, out);
    const std::size_t rest = source.size() - pos;

    if (pos == 0 && find.size() <= kPaddedFind) {
        // A source too short for one block: it is scanned in a padded copy,
        // followed by bytes that differ from the find text's last byte. No
        // candidate reaches into them, and whatever the blocks copy of them
        // lies behind the end and is cut.
        char padded[2 * (kPaddedFind - 1 + kBlock)];
        const std::size_t paddedSize = rest + std::max(find.size() - 1 + kBlock, kBlock - 1 + Inner::kReads);
        std::memcpy(padded, source.data(), rest);
        std::memset(padded + rest, static_cast<unsigned char>(find.back()) ^ 1, paddedSize - rest);
        const std::size_t past = ReplaceBlocks(padded, paddedSize, 0, find.size(), scan, inner, writer, out) - rest;
        return output.Take(out - past);
    }

    // The rest, too short for a block, byte by byte: a padded copy of the
    // source's end would cost more, as the loads from it wait for the copy's
    // stores to land.
    const char* const end = source.data() + source.size();
    const char* from = source.data() + pos;
    const std::size_t lastOffset = find.size() - 1;
    for (const char* at = from; static_cast<std::size_t>(end - at) >= find.size();) {
        if (at[0] == find.front() && at[lastOffset] == find.back() &&
            (find.size() <= 2 || std::memcmp(at + 1, find.data() + 1, find.size() - 2) == 0)) {
            std::memcpy(out, from, static_cast<std::size_t>(at - from));
            out += at - from;
            out = writer.Write(out);
            at += find.size();
            from = at;
        } else {
            ++at;
        }
    }
    std::memcpy(out, from, static_cast<std::size_t>(end - from));
    return output.Take(out + (end - from));
}

std::string ReplaceWithVectors(std::string_view source, std::string_view find, std::string_view replacement)
{
    std::string result;
    if (TrivialReplace(source, find, result))
        return result;
    OutputBuffer output(source.size(), find.size(), replacement.size());
    // Only the rare buffer that could not be had at full size needs a scan
    // that asks for room before each write.
    if (!output.HoldsWorstCase())
        return ReplaceWithSkips(source, find, replacement, output);
    if (find.size() <= ShortFind::kLongest)
        return ReplaceWithBlocks(source, find, replacement, ShortFind(find), output);
    return ReplaceWithBlocks(source, find, replacement, LongFind(find), output);
}

#if !defined(__SSE2__)
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif

bool ProcessorHasSse2() noexcept
{
#if defined(__SSE2__)
    return true;
#else
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & bit_SSE2) != 0;
#endif
}
#endif

std::string ReplaceBySkips(std::string_view source, std::string_view find, std::string_view replacement)
{
    std::string result;
    if (TrivialReplace(source, find, result))
        return result;
    OutputBuffer output(source.size(), find.size(), replacement.size());
    return ReplaceWithSkips(source, find, replacement, output);
}

} // namespace

std::string ReplaceAllText(std::string_view source, std::string_view find, std::string_view replacement)
{
#if defined(__SSE2__)
    return ReplaceWithVectors(source, find, replacement);
#elif FAST_STRINGS_VECTOR_SCAN
    static const bool vectors = ProcessorHasSse2();
    return vectors ? ReplaceWithVectors(source, find, replacement) : ReplaceBySkips(source, find, replacement);
#else
    return ReplaceBySkips(source, find, replacement);
#endif
}

namespace detail {

std::string ReplaceAllTextBySkips(std::string_view source, std::string_view find, std::string_view replacement)
{
    return ReplaceBySkips(source, find, replacement);
}

bool VectorScanAvailable() noexcept
{
#if FAST_STRINGS_VECTOR_SCAN
    return ProcessorHasSse2();
#else
    return false;
#endif
}

std::string ReplaceAllTextByVectors(std::string_view source, std::string_view find, std::string_view replacement)
{
#if FAST_STRINGS_VECTOR_SCAN
    return ReplaceWithVectors(source, find, replacement);
#else
    return ReplaceBySkips(source, find, replacement);
#endif
}

} // namespace detail

} // namespace util
