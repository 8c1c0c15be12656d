#pragma once
// Exact conversion between GBK text and UTF-8, for reading GBK documents
// with a parser that reads UTF-8: the bytes of every GBK character come back
// unchanged from the UTF-8 that the parser reports.
//
// Characters map as code page 936 decodes them. A sequence that the code
// page leaves undefined, or decodes to a character that another sequence
// already has (or to one that XML forbids), gets a character of its own in
// the private-use plane 15 (U+F0000 + its index), so that it too reads back
// byte for byte.
#include "text/GbkConverter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace text {

class GbkCodeTable {
public:
    // `decoding` as DecodeCodePage936 gives it.
    explicit GbkCodeTable(const std::vector<char16_t>& decoding);

    // The table of this platform's code page, built on first use.
    static const GbkCodeTable& System();

    // Appends the UTF-8 form of GBK bytes to `out`. False, with `out` in an
    // unspecified state, when a lead byte (0x81-0xFE) has no trail byte
    // (0x40-0x7E or 0x80-0xFE) behind it: such a pair could hide markup
    // such as '<'.
    bool AppendUtf8(std::string& out, std::string_view gbk) const;

    // The most bytes the UTF-8 form of one GBK byte takes (a single byte
    // with a stand-in character).
    static constexpr std::size_t kMaximumUtf8PerByte = 4;

    // Writes the UTF-8 form of GBK bytes to `out`, which has room for
    // kMaximumUtf8PerByte bytes per byte of `gbk`; the number of bytes
    // written, or nullopt where AppendUtf8 gives false.
    std::optional<std::size_t> WriteUtf8(char* out, std::string_view gbk) const;

    // Which characters ToGbk turns back into their GBK sequence.
    enum class Source {
        // Text read out of GBK bytes: the stand-in characters too.
        GbkText,
        // Text of a Unicode document: only the characters the code page
        // decodes to (a stand-in character is a character like any other).
        UnicodeText,
    };

    // The GBK form of UTF-8 text: each character that a GBK sequence
    // decodes to as that sequence; any other character, and each run of
    // bytes that form no well-formed sequence, as `fallback` converts it.
    std::string ToGbk(std::string_view utf8, const GbkConverter& fallback, Source source = Source::GbkText) const;
    // The same, appended to `out`.
    void AppendGbk(std::string& out, std::string_view utf8, const GbkConverter& fallback,
                   Source source = Source::GbkText) const;

private:
    static constexpr char32_t kStandInBase = 0xF0000;

    // The GBK sequence of a character beyond ASCII, 0 for none.
    unsigned SequenceOf(char32_t c, Source source) const noexcept;

    std::vector<char32_t> fromGbk_;        // by sequence index; 0 for no sequence
    std::vector<std::uint32_t> utf8Of_;    // by sequence index: its character's UTF-8 bytes, first byte lowest
    std::vector<std::uint16_t> toGbk_;     // by BMP character: its sequence index; 0 for none
};

} // namespace text
