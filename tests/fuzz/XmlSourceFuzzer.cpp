// How the bytes of an XML file are taken (config/XmlSource.h) and the UTF-8
// facts under it (config/Utf8Text.h). UTF-8 is checked against a decoder
// that builds the code point first and judges it after; the declared
// encoding against the XML 1.0 grammar of the declaration, where the bytes
// follow it; the choice of encoding against the order of its rules.
//   input: the bytes of a file (the first four also read as a code point)
#include "FuzzSupport.h"

#include "text/Utf8Text.h"
#include "xml/XmlSource.h"
#include "text/TextRules.h"

#include <optional>

namespace {

// The code point and width of the UTF-8 sequence at the start, or none.
std::optional<std::pair<char32_t, std::size_t>> DecodeRef(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t width;
    char32_t value;
    if (lead < 0x80) {
        return std::pair {static_cast<char32_t>(lead), std::size_t {1}};
    } else if ((lead & 0xE0) == 0xC0) {
        width = 2, value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        width = 3, value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        width = 4, value = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() < width)
        return std::nullopt;
    for (std::size_t i = 1; i < width; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80)
            return std::nullopt;
        value = (value << 6) | (byte & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[width] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return std::pair {value, width};
}

bool ValidRef(std::string_view text)
{
    while (!text.empty()) {
        const auto decoded = DecodeRef(text);
        if (!decoded)
            return false;
        text.remove_prefix(decoded->second);
    }
    return true;
}

// A reader of the XML declaration's grammar:
//   '<?xml' VersionInfo EncodingDecl? SDDecl? S? '?>'
class DeclarationReader {
public:
    explicit DeclarationReader(std::string_view text)
        : text_(text)
    {
    }

    // True when the bytes begin with a well-formed declaration; `encoding`
    // then holds its encoding name (empty when it has none).
    bool Read(std::string& encoding)
    {
        if (!Literal("<?xml") || !Space() || !Literal("version") || !Equals())
            return false;
        std::string version;
        if (!Quoted(version) || version.size() < 3 || version.compare(0, 2, "1.") != 0 ||
            version.find_first_not_of("0123456789", 2) != std::string::npos)
            return false;
        const std::size_t mark = pos_;
        if (Space() && Literal("encoding")) {
            if (!Equals() || !Quoted(encoding) || encoding.empty() || !IsLetter(encoding[0]) ||
                encoding.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-") !=
                    std::string::npos)
                return false;
        } else {
            pos_ = mark;
        }
        const std::size_t beforeStandalone = pos_;
        if (Space() && Literal("standalone")) {
            std::string standalone;
            if (!Equals() || !Quoted(standalone) || (standalone != "yes" && standalone != "no"))
                return false;
        } else {
            pos_ = beforeStandalone;
        }
        Space();
        return Literal("?>");
    }

private:
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    bool Literal(std::string_view word)
    {
        if (text_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }
    bool Space()
    {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
        return pos_ > start;
    }
    bool Equals()
    {
        Space();
        if (!Literal("="))
            return false;
        Space();
        return true;
    }
    bool Quoted(std::string& value)
    {
        if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
            return false;
        const std::size_t end = text_.find(text_[pos_], pos_ + 1);
        if (end == std::string_view::npos)
            return false;
        value = std::string(text_.substr(pos_ + 1, end - pos_ - 1));
        pos_ = end + 1;
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool Starts(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names)
{
    for (std::string_view candidate : names) {
        if (text::EqualsIgnoreCase(name, candidate))
            return true;
    }
    return false;
}

using xml::XmlParseAs;
using xml::XmlTextCoding;

// The rules in their order: a byte-order mark, then the zero bytes of
// UTF-16 or UTF-32, then the declared encoding; else nothing.
std::optional<xml::XmlSourceEncoding> DeclaredRef(std::string_view bytes)
{
    using namespace std::string_view_literals;
    if (Starts(bytes, "\xEF\xBB\xBF"sv))
        return xml::XmlSourceEncoding {XmlTextCoding::Unicode, XmlParseAs::Utf8};
    if (Starts(bytes, "\x00\x00\xFE\xFF"sv) || Starts(bytes, "\xFF\xFE\x00\x00"sv) ||
        Starts(bytes, "\x00\x00\x00<"sv) || Starts(bytes, "<\x00\x00\x00"sv))
        return xml::XmlSourceEncoding {XmlTextCoding::Unicode, XmlParseAs::Utf32};
    if (Starts(bytes, "\xFF\xFE"sv) || Starts(bytes, "\xFE\xFF"sv) || Starts(bytes, "\x00<\x00?"sv) ||
        Starts(bytes, "<\x00?\x00"sv))
        return xml::XmlSourceEncoding {XmlTextCoding::Unicode, XmlParseAs::Utf16};
    const std::string_view declared = xml::DeclaredXmlEncoding(bytes);
    if (IsOneOf(declared, {"GB2312", "GBK", "GB18030", "CP936", "windows-936", "MS936", "x-gbk"}))
        return xml::XmlSourceEncoding {XmlTextCoding::Gbk, XmlParseAs::Utf8};
    if (IsOneOf(declared, {"UTF-8", "UTF8"}))
        return xml::XmlSourceEncoding {ValidRef(bytes) ? XmlTextCoding::Unicode : XmlTextCoding::Gbk,
                                          XmlParseAs::Utf8};
    if (IsOneOf(declared, {"ISO-8859-1", "latin1", "latin-1", "ISO_8859-1"}))
        return xml::XmlSourceEncoding {XmlTextCoding::Unicode, XmlParseAs::Latin1};
    return std::nullopt;
}

bool Same(const xml::XmlSourceEncoding& a, const xml::XmlSourceEncoding& b)
{
    return a.coding == b.coding && a.parseAs == b.parseAs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fuzz::Context context = [&] { return std::string("bytes " + fuzz::Printable(bytes)); };

    const auto decoded = DecodeRef(bytes);
    FUZZ_CHECK(text::Utf8SequenceLength(bytes) == (decoded ? decoded->second : 0), context());
    FUZZ_CHECK(text::IsValidUtf8(bytes) == ValidRef(bytes), context());

    if (size >= 4) {
        const char32_t codePoint =
            (char32_t {data[0]} << 24 | char32_t {data[1]} << 16 | char32_t {data[2]} << 8 | data[3]) % 0x110100;
        std::string encoded = "x";
        const bool appended = text::AppendUtf8(encoded, codePoint);
        const bool scalar = codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
        FUZZ_CHECK(appended == scalar, context());
        if (appended) {
            const auto back = DecodeRef(std::string_view(encoded).substr(1));
            FUZZ_CHECK(back && back->first == codePoint && back->second + 1 == encoded.size(), context());
        } else {
            FUZZ_CHECK(encoded == "x", context());
        }
    }

    using namespace std::string_view_literals;
    const bool utf32 = Starts(bytes, "\x00\x00\xFE\xFF"sv) || Starts(bytes, "\xFF\xFE\x00\x00"sv) ||
                       Starts(bytes, "\x00\x00\x00<"sv) || Starts(bytes, "<\x00\x00\x00"sv);
    FUZZ_CHECK(xml::StartsAsUtf32(bytes) == utf32, context());

    std::string encoding;
    const std::string_view declared = xml::DeclaredXmlEncoding(bytes);
    if (DeclarationReader(bytes).Read(encoding))
        FUZZ_CHECK_TEXT(declared, encoding, context());
    FUZZ_CHECK(declared.empty() || (Starts(bytes, "<?xml") && declared.data() >= bytes.data() &&
                                    declared.data() + declared.size() <= bytes.data() + bytes.find("?>")),
               context());

    const auto rule = DeclaredRef(bytes);
    const xml::XmlSourceEncoding gbk {XmlTextCoding::Gbk, XmlParseAs::Utf8};
    const xml::XmlSourceEncoding byBytes =
        ValidRef(bytes) ? xml::XmlSourceEncoding {XmlTextCoding::Unicode, XmlParseAs::Utf8} : gbk;
    FUZZ_CHECK(Same(xml::DetectXmlEncoding(bytes), rule.value_or(byBytes)), context());
    FUZZ_CHECK(Same(xml::DeclaredXmlSourceEncoding(bytes), rule.value_or(gbk)), context());
    return 0;
}
