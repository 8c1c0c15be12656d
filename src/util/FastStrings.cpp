#include "util/FastStrings.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace util {

namespace {

// Bytes past the written length that a block store or a short replacement
// may touch; the buffer always keeps them, and they are cut at the end.
constexpr std::size_t kSlack = 64;

// Replacements up to this length are written as one fixed-size store of a
// padded copy.
constexpr std::size_t kShortReplacement = 16;

// One output buffer, sized in advance and grown by half when a write would
// not fit; cut to the written length at the end. The writer keeps its own
// cursor into the buffer and asks for room before each write.
class OutputBuffer {
public:
    OutputBuffer(std::size_t sourceLength, std::size_t findLength, std::size_t replacementLength)
    {
        if (!TryReserve(InitialSize(sourceLength, findLength, replacementLength))) {
            const std::uint64_t fallback =
                (static_cast<std::uint64_t>(sourceLength) + replacementLength) * 3 / 2 + kSlack;
            if (fallback > buffer_.max_size())
                throw std::bad_alloc();
            buffer_.resize(static_cast<std::size_t>(fallback));
        }
        end_ = buffer_.data() + buffer_.size();
    }

    char* Begin() noexcept { return buffer_.data(); }
    char* End() noexcept { return end_; }

    // The cursor, moved into a grown buffer when `count` bytes do not fit
    // behind it.
    char* Room(char* cursor, std::size_t count)
    {
        if (static_cast<std::size_t>(end_ - cursor) >= count)
            return cursor;
        return Grow(cursor, count);
    }

    char* Write(char* cursor, const char* bytes, std::size_t count)
    {
        cursor = Room(cursor, count);
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
        end_ = buffer_.data() + buffer_.size();
        return buffer_.data() + written;
    }

    std::string buffer_;
    char* end_ = nullptr;
};

// Whether a candidate whose first and last bytes are known to match is a
// whole occurrence: the inner bytes are compared by two overlapping loads
// of 2, 4 or 8 bytes for short find texts, so that no call is made per
// candidate.
class InnerBytes {
public:
    explicit InnerBytes(std::string_view find) noexcept : find_(find)
    {
        if (find.size() >= 3 && find.size() <= 16) {
            load_ = find.size() == 3 ? 2 : find.size() <= 8 ? 4 : 8;
            head_ = Load(find.data());
            tail_ = Load(find.data() + find.size() - load_);
        }
    }

    bool Match(const char* at) const noexcept
    {
        if (find_.size() <= 2)
            return true;
        if (load_ != 0)
            return Load(at) == head_ && Load(at + find_.size() - load_) == tail_;
        return std::memcmp(at + 1, find_.data() + 1, find_.size() - 2) == 0;
    }

private:
    std::uint64_t Load(const char* at) const noexcept
    {
        if (load_ == 2) {
            std::uint16_t value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        if (load_ == 4) {
            std::uint32_t value;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        std::uint64_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }

    std::string_view find_;
    std::size_t load_ = 0;
    std::uint64_t head_ = 0;
    std::uint64_t tail_ = 0;
};

static_assert(std::endian::native == std::endian::little, "the block scans number candidates from the low bits up");

// Eight bytes at a time in a plain 64-bit integer: builds for every target.
class WordScan {
public:
    static constexpr std::size_t kWidth = 8;
    using Mask = std::uint64_t;

    WordScan(char first, char last) noexcept : first_(Spread(first)), last_(Spread(last)) {}

    // Bit 7 of byte i set when a candidate may start at `at` + i: the byte
    // there equals the find text's first byte and the byte `lastOffset`
    // further on its last byte.
    Mask Candidates(const char* at, std::size_t lastOffset) const noexcept
    {
        return ZeroBytes(Load(at) ^ first_) & ZeroBytes(Load(at + lastOffset) ^ last_);
    }

    static void Copy(char* to, const char* from) noexcept { std::memcpy(to, from, kWidth); }

    static std::size_t Index(Mask mask) noexcept { return static_cast<std::size_t>(std::countr_zero(mask)) / 8; }

    // The candidates from `offset` (below kWidth) on.
    static Mask From(std::size_t offset) noexcept { return ~Mask {0} << (offset * 8); }

private:
    static constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

    static std::uint64_t Spread(char byte) noexcept
    {
        return static_cast<std::uint64_t>(static_cast<unsigned char>(byte)) * 0x0101010101010101ull;
    }

    static std::uint64_t Load(const char* at) noexcept
    {
        std::uint64_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }

    // 0x80 in every byte of `value` that is zero, 0 in every other: no
    // carry crosses from one byte into the next.
    static std::uint64_t ZeroBytes(std::uint64_t value) noexcept { return ~(((value & kLow7) + kLow7) | value | kLow7); }

    std::uint64_t first_;
    std::uint64_t last_;
};

#if defined(__SSE2__)
// Thirty-two bytes at a time in two SSE2 registers.
class VectorScan {
public:
    static constexpr std::size_t kWidth = 32;
    using Mask = std::uint32_t;

    VectorScan(char first, char last) noexcept : first_(_mm_set1_epi8(first)), last_(_mm_set1_epi8(last)) {}

    // Bit i set when a candidate may start at `at` + i.
    Mask Candidates(const char* at, std::size_t lastOffset) const noexcept
    {
        const Mask low = Half(at, lastOffset);
        const Mask high = Half(at + 16, lastOffset);
        return low | high << 16;
    }

    static void Copy(char* to, const char* from) noexcept
    {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 16), high);
    }

    static std::size_t Index(Mask mask) noexcept { return static_cast<std::size_t>(std::countr_zero(mask)); }

    // The candidates from `offset` (below kWidth) on.
    static Mask From(std::size_t offset) noexcept { return ~Mask {0} << offset; }

private:
    Mask Half(const char* at, std::size_t lastOffset) const noexcept
    {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + lastOffset));
        return static_cast<Mask>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first_), _mm_cmpeq_epi8(tail, last_))));
    }

    __m128i first_;
    __m128i last_;
};
#endif

// The writing side of one replace-all: the output buffer, its cursor, and
// what is written at an occurrence.
class ReplaceOutput {
public:
    ReplaceOutput(std::size_t sourceLength, std::string_view find, std::string_view replacement)
        : buffer_(sourceLength, find.size(), replacement.size()), replacement_(replacement),
          shortReplacement_(replacement.size() <= kShortReplacement)
    {
        if (shortReplacement_ && !replacement.empty())
            std::memcpy(paddedReplacement_, replacement.data(), replacement.size());
        cursor_ = buffer_.Begin();
    }

    OutputBuffer& Buffer() noexcept { return buffer_; }
    char*& Cursor() noexcept { return cursor_; }
    std::string_view Replacement() const noexcept { return replacement_; }
    bool ShortReplacement() const noexcept { return shortReplacement_; }
    const char* PaddedReplacement() const noexcept { return paddedReplacement_; }

private:
    OutputBuffer buffer_;
    std::string_view replacement_;
    bool shortReplacement_;
    char paddedReplacement_[kShortReplacement] = {};
    char* cursor_ = nullptr;
};

// One pass that finds and copies at once, over text[pos, size) where every
// block of candidates has its whole find text inside the text: the caller
// gives a text that runs at least lastOffset + kWidth bytes past the last
// candidate. Each step takes the block of candidates starting at `pos`,
// stores the block's bytes behind the output cursor, and looks only at
// positions whose first and last bytes match. At an occurrence the cursor
// moves up to it, the replacement overwrites what the block store put
// there, and the rest of the block is stored once more behind the
// replacement; the candidates inside the occurrence are dropped. An
// occurrence that runs past the block, or whose rest cannot be loaded as a
// whole block, makes the next step start right behind it. Returns the
// position the cursor stands for: past the last block, so it may lie
// beyond the candidates.
template <typename Scan>
std::size_t ReplaceBlocks(const char* text, std::size_t size, std::size_t pos, std::string_view find,
                          const InnerBytes& inner, ReplaceOutput& output)
{
    constexpr std::size_t kWidth = Scan::kWidth;
    // A short replacement's store followed by a block store.
    constexpr std::size_t kBlockRoom = kShortReplacement + kWidth;
    static_assert(kBlockRoom <= kSlack);
    const std::size_t lastOffset = find.size() - 1;
    if (size < lastOffset + kWidth)
        return pos;

    const Scan scan(find.front(), find.back());
    const std::string_view replacement = output.Replacement();
    const bool shortReplacement = output.ShortReplacement();
    char paddedReplacement[kShortReplacement];
    std::memcpy(paddedReplacement, output.PaddedReplacement(), kShortReplacement);
    OutputBuffer& buffer = output.Buffer();
    const std::size_t lastBlock = size - (lastOffset + kWidth);
    const std::size_t lastLoad = size - kWidth;
    char* out = output.Cursor();
    char* limit = buffer.End();
    while (pos <= lastBlock) {
        if (static_cast<std::size_t>(limit - out) < kBlockRoom) {
            out = buffer.Room(out, kBlockRoom);
            limit = buffer.End();
        }
        const std::size_t block = pos;
        const std::size_t next = block + kWidth;
        typename Scan::Mask candidates = scan.Candidates(text + block, lastOffset);
        Scan::Copy(out, text + block);
        bool restart = false;
        while (candidates != 0) {
            const std::size_t at = block + Scan::Index(candidates);
            candidates &= candidates - 1;
            if (!inner.Match(text + at))
                continue;
            out += at - pos;
            pos = at + find.size();
            if (shortReplacement) {
                std::memcpy(out, paddedReplacement, kShortReplacement);
                out += replacement.size();
            } else {
                out = buffer.Write(out, replacement.data(), replacement.size());
                limit = buffer.End();
            }
            if (pos >= next || pos > lastLoad) {
                restart = true;
                break;
            }
            if (static_cast<std::size_t>(limit - out) < kBlockRoom) {
                out = buffer.Room(out, kBlockRoom);
                limit = buffer.End();
            }
            Scan::Copy(out, text + pos);
            candidates &= Scan::From(pos - block);
        }
        if (!restart) {
            out += next - pos;
            pos = next;
        }
    }
    output.Cursor() = out;
    return pos;
}

// Find texts up to this length have the last candidates of the source,
// too few for a block, scanned in a padded copy of the source's end.
constexpr std::size_t kPaddedFind = 64;

template <typename Scan>
std::string ReplaceScanning(std::string_view source, std::string_view find, std::string_view replacement)
{
    if (source.empty())
        return std::string();
    if (find.empty() || find.size() > source.size())
        return std::string(source);

    const InnerBytes inner(find);
    ReplaceOutput output(source.size(), find, replacement);
    std::size_t pos = ReplaceBlocks<Scan>(source.data(), source.size(), 0, find, inner, output);
    const std::size_t rest = source.size() - pos;

    if (find.size() <= kPaddedFind) {
        // The rest followed by bytes that differ from the find text's last
        // byte: no candidate reaches into them, and whatever the blocks copy
        // of them lies behind the end and is cut.
        constexpr std::size_t kPadded = 2 * (kPaddedFind - 1 + Scan::kWidth);
        char padded[kPadded];
        const std::size_t paddedSize = rest + find.size() - 1 + Scan::kWidth;
        std::memcpy(padded, source.data() + pos, rest);
        std::memset(padded + rest, static_cast<unsigned char>(find.back()) ^ 1, paddedSize - rest);
        const std::size_t past = ReplaceBlocks<Scan>(padded, paddedSize, 0, find, inner, output) - rest;
        return output.Buffer().Take(output.Cursor() - past);
    }

    OutputBuffer& buffer = output.Buffer();
    char* out = output.Cursor();
    const char* const end = source.data() + source.size();
    const char* from = source.data() + pos;
    const std::size_t lastOffset = find.size() - 1;
    for (const char* at = from; static_cast<std::size_t>(end - at) >= find.size();) {
        if (at[0] == find.front() && at[lastOffset] == find.back() && inner.Match(at)) {
            out = buffer.Write(out, from, static_cast<std::size_t>(at - from));
            out = buffer.Write(out, replacement.data(), replacement.size());
            at += find.size();
            from = at;
        } else {
            ++at;
        }
    }
    out = buffer.Write(out, from, static_cast<std::size_t>(end - from));
    return buffer.Take(out);
}

} // namespace

std::string ReplaceAllText(std::string_view source, std::string_view find, std::string_view replacement)
{
#if defined(__SSE2__)
    return ReplaceScanning<VectorScan>(source, find, replacement);
#else
    return ReplaceScanning<WordScan>(source, find, replacement);
#endif
}

namespace detail {

std::string ReplaceAllTextByWords(std::string_view source, std::string_view find, std::string_view replacement)
{
    return ReplaceScanning<WordScan>(source, find, replacement);
}

} // namespace detail

} // namespace util
