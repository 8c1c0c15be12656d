#include "xml/XmlSubsetReader.h"

#include "text/GbkCodeTable.h"
#include "text/Utf8Text.h"

#include "sharedrt/GbkText.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace xml {
namespace {

// The reader counts nothing against the bound of the tree's size: without
// entities, every record of the tree stands for at least one byte of the
// document and takes less than 64 bytes with its text, while the bound is
// 100 times the document's size up to 4 GB. So no document of this size or
// less can reach it; larger ones go to the conforming parser.
constexpr std::size_t kLargestDocument = 32 * 1024 * 1024;

// More attributes on one element than this go to the conforming parser,
// which finds a repeated name by hashing rather than by comparing each
// with each.
constexpr std::size_t kMostAttributes = 32;

constexpr bool IsNameStart(unsigned char c) noexcept
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}

constexpr bool IsNameCharacter(unsigned char c) noexcept
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

constexpr bool IsSpace(unsigned char c) noexcept { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A byte below 0x20 that is no character of XML.
constexpr bool IsForbiddenControl(unsigned char c) noexcept
{
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// The bytes at which a scan of each kind of run stops to look closer:
// anything beyond ASCII, a forbidden control, and the bytes that mean
// something in that run.
using StopTable = std::array<bool, 256>;

constexpr StopTable MakeStopTable(std::string_view meaningful)
{
    StopTable table{};
    for (unsigned c = 0; c < 256; ++c)
        table[c] = c >= 0x80 || IsForbiddenControl(static_cast<unsigned char>(c));
    for (char c : meaningful)
        table[static_cast<unsigned char>(c)] = true;
    return table;
}

constexpr StopTable kCharacterDataStops = MakeStopTable("<&]\r");
constexpr StopTable kAttributeValueStops = MakeStopTable("<&\"'\t\n\r");
constexpr StopTable kCDataStops = MakeStopTable("]\r");
constexpr StopTable kCommentStops = MakeStopTable("-");
constexpr StopTable kInstructionStops = MakeStopTable("?");

bool IsWhitespace(std::string_view text) noexcept
{
    for (char c : text) {
        if (!IsSpace(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

} // namespace

class XmlSubsetReader final : XmlPosition {
public:
    XmlSubsetReader(std::string_view bytes, bool gbk, XmlNodeSink& sink)
        : begin_(reinterpret_cast<const unsigned char*>(bytes.data())), end_(begin_ + bytes.size()), p_(begin_),
          gbk_(gbk), sink_(sink), event_(begin_), counted_(begin_)
    {
    }

    bool Read() noexcept
    {
        sink_.position_ = this;
        sink_.gbkTexts_ = gbk_ && sink_.TakesGbkTexts();
        convert_ = gbk_ && !sink_.gbkTexts_;
        bool read = false;
        try {
            Document();
            read = true;
        } catch (...) {
            // Declined, or the sink gave up: the conforming parser decides.
        }
        sink_.position_ = nullptr;
        sink_.gbkTexts_ = false;
        return read;
    }

private:
    struct Declined {};
    [[noreturn]] static void Decline() { throw Declined(); }

    std::uint32_t Line() const noexcept override
    {
        // A line ends at a line feed, a carriage return, or the two together.
        for (; counted_ < event_; ++counted_) {
            if (*counted_ == '\n' || (*counted_ == '\r' && (counted_ + 1 == end_ || counted_[1] != '\n')))
                ++line_;
        }
        return line_;
    }

    bool At(std::string_view text) const noexcept
    {
        return static_cast<std::size_t>(end_ - p_) >= text.size() &&
               std::string_view(reinterpret_cast<const char*>(p_), text.size()) == text;
    }

    void Expect(std::string_view text)
    {
        if (!At(text))
            Decline();
        p_ += text.size();
    }

    // True when there was any whitespace to skip.
    bool SkipSpace() noexcept
    {
        const unsigned char* start = p_;
        while (p_ < end_ && IsSpace(*p_))
            ++p_;
        return p_ != start;
    }

    std::string_view Name()
    {
        if (p_ == end_ || !IsNameStart(*p_))
            Decline();
        const unsigned char* start = p_;
        while (p_ < end_ && IsNameCharacter(*p_))
            ++p_;
        // A name that goes on beyond ASCII is left to the conforming parser.
        if (p_ < end_ && *p_ >= 0x80)
            Decline();
        return View(start, p_);
    }

    static std::string_view View(const unsigned char* from, const unsigned char* to) noexcept
    {
        return {reinterpret_cast<const char*>(from), static_cast<std::size_t>(to - from)};
    }

    // Steps over the character beyond ASCII at p_, declining one that is
    // no character of the document's encoding or of XML.
    void SkipWideCharacter()
    {
        const unsigned char lead = *p_;
        if (gbk_) {
            // A lead byte needs its trail byte; 0x80 and 0xFF stand alone.
            if (lead == 0x80 || lead == 0xFF) {
                ++p_;
                return;
            }
            if (end_ - p_ < 2 || !rt::IsGbkTrailByte(p_[1]))
                Decline();
            p_ += 2;
            return;
        }
        const text::Utf8Sequence sequence = text::DecodeUtf8Sequence(p_, end_);
        if (sequence.width == 0 || sequence.c == 0xFFFE || sequence.c == 0xFFFF)
            Decline();
        p_ += sequence.width;
    }

    // The character of the predefined entity reference at p_ ('&').
    char Reference()
    {
        static constexpr std::array<std::pair<std::string_view, char>, 5> kEntities = {
            {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'}}};
        for (const auto& [reference, character] : kEntities) {
            if (At(reference)) {
                p_ += reference.size();
                return character;
            }
        }
        Decline();
    }

    // Steps over a line end at p_ ('\r'), which reads as one line feed.
    void SkipCarriageReturn() noexcept
    {
        ++p_;
        if (p_ < end_ && *p_ == '\n')
            ++p_;
    }

    // A text as the sink takes it.
    std::string_view ForSink(std::string_view text)
    {
        if (!convert_)
            return text;
        converted_.clear();
        text::GbkCodeTable::System().AppendUtf8(converted_, text);
        return converted_;
    }

    void Document()
    {
        if (static_cast<std::size_t>(end_ - begin_) > kLargestDocument)
            Decline();
        if (!gbk_ && At("\xEF\xBB\xBF"))
            p_ += 3;
        if (At("<?xml") && end_ - p_ > 5 && IsSpace(p_[5]))
            XmlDeclaration();
        MiscellaneousUntil(true);
        Content();
        MiscellaneousUntil(false);
    }

    void XmlDeclaration()
    {
        p_ += 5;
        SkipSpace();
        Expect("version");
        Equals();
        const char quote = Quote();
        Expect("1.0");
        Expect(std::string_view(&quote, 1));
        bool spaced = SkipSpace();
        if (spaced && At("encoding")) {
            p_ += 8;
            Equals();
            const char open = Quote();
            // A letter, then letters, digits, '.', '_' and '-'. The name is
            // not looked at: the module reads the bytes in the encoding it
            // detected, and so does the conforming parser.
            if (p_ == end_ || !((*p_ >= 'a' && *p_ <= 'z') || (*p_ >= 'A' && *p_ <= 'Z')))
                Decline();
            while (p_ < end_ && (IsNameCharacter(*p_) && *p_ != ':'))
                ++p_;
            Expect(std::string_view(&open, 1));
            spaced = SkipSpace();
        }
        if (spaced && At("standalone")) {
            p_ += 10;
            Equals();
            const char open = Quote();
            if (At("yes"))
                p_ += 3;
            else
                Expect("no");
            Expect(std::string_view(&open, 1));
            SkipSpace();
        }
        Expect("?>");
    }

    void Equals()
    {
        SkipSpace();
        Expect("=");
        SkipSpace();
    }

    char Quote()
    {
        if (p_ == end_ || (*p_ != '"' && *p_ != '\''))
            Decline();
        return static_cast<char>(*p_++);
    }

    // Whitespace, comments and processing instructions around the document
    // element; before it (`before`), up to its start tag, after it, up to
    // the end.
    void MiscellaneousUntil(bool before)
    {
        for (;;) {
            SkipSpace();
            if (p_ == end_) {
                if (before)
                    Decline();
                return;
            }
            if (*p_ != '<' || end_ - p_ < 2)
                Decline();
            if (p_[1] == '?')
                ProcessingInstruction(false);
            else if (At("<!--"))
                Comment(false);
            else if (before && IsNameStart(p_[1]))
                return;
            else
                Decline();
        }
    }

    // The document element and everything in it.
    void Content()
    {
        StartTag();
        while (!open_.empty()) {
            CharacterData();
            if (end_ - p_ < 2)
                Decline();
            switch (p_[1]) {
            case '/':
                EndTag();
                break;
            case '?':
                ProcessingInstruction(true);
                break;
            case '!':
                if (At("<!--"))
                    Comment(true);
                else if (At("<![CDATA["))
                    CDataSection();
                else
                    Decline();
                break;
            default:
                StartTag();
                break;
            }
        }
    }

    // A run of characters up to where `ends` says it ends, as the sink
    // takes it: the references resolved and each line end as a line feed
    // or, in an attribute value (`inValue`), each whitespace character as a
    // space. A view of the document's bytes where nothing changed, else of
    // text_. `stops` holds the bytes that end the run or mean something in
    // it; at each one but a wide character, a reference and a line end,
    // `ends` answers true at the end, or steps over it, or declines.
    template <typename Ends>
    std::string_view Run(const StopTable& stops, bool inValue, Ends ends)
    {
        const unsigned char* start = p_;
        bool built = false;  // the run differs from the bytes and is in text_
        for (;;) {
            while (p_ < end_ && !stops[*p_])
                ++p_;
            if (p_ == end_)
                Decline();
            const unsigned char c = *p_;
            if (c >= 0x80) {
                SkipWideCharacter();
                continue;
            }
            if (IsForbiddenControl(c))
                Decline();
            if (c != '&' && c != '\r' && c != '\t' && c != '\n') {
                if (ends(c))
                    break;
                continue;
            }
            if (!built)
                text_.clear();
            built = true;
            text_.append(View(start, p_));
            if (c == '&') {
                text_ += Reference();
            } else {
                text_ += inValue ? ' ' : '\n';
                if (c == '\r')
                    SkipCarriageReturn();
                else
                    ++p_;
            }
            start = p_;
        }
        if (!built)
            return View(start, p_);
        text_.append(View(start, p_));
        return text_;
    }

    // The text up to the next markup, reported unless it is whitespace only.
    void CharacterData()
    {
        const std::string_view text = Run(kCharacterDataStops, false, [this](unsigned char c) {
            if (c == '<')
                return true;
            if (At("]]>"))
                Decline();
            ++p_;
            return false;
        });
        if (!text.empty() && !IsWhitespace(text)) {
            // A text is reported when the markup after it is met.
            event_ = p_;
            sink_.Text(ForSink(text));
        }
    }

    void CDataSection()
    {
        p_ += 9;
        const std::string_view text = Run(kCDataStops, false, [this](unsigned char) {
            if (At("]]>"))
                return true;
            ++p_;
            return false;
        });
        event_ = p_;
        p_ += 3;
        sink_.CData(ForSink(text));
    }

    void Comment(bool inside)
    {
        event_ = p_;
        p_ += 4;
        // "--" only as the end, "-->".
        Run(kCommentStops, false, [this](unsigned char) {
            if (At("--"))
                return true;
            ++p_;
            return false;
        });
        Expect("-->");
        if (inside)
            sink_.Comment();
    }

    void ProcessingInstruction(bool inside)
    {
        event_ = p_;
        p_ += 2;
        const std::string_view target = Name();
        // "xml" in any case is reserved; an XML declaration out of place is
        // the conforming parser's to report.
        if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
            (target[2] | 0x20) == 'l')
            Decline();
        if (!At("?>")) {
            if (!SkipSpace())
                Decline();
            Run(kInstructionStops, false, [this](unsigned char) {
                if (At("?>"))
                    return true;
                ++p_;
                return false;
            });
        }
        p_ += 2;
        if (inside)
            sink_.ProcessingInstruction(target);
    }

    void StartTag()
    {
        event_ = p_;
        ++p_;
        const std::string_view name = Name();
        attributeBytes_.clear();
        attributeAt_.clear();
        for (;;) {
            const bool spaced = SkipSpace();
            if (p_ == end_)
                Decline();
            if (*p_ == '>') {
                ++p_;
                ReportStart(name);
                open_.push_back(name);
                return;
            }
            if (*p_ == '/') {
                Expect("/>");
                ReportStart(name);
                // The end of an empty element is where its tag ends.
                event_ = p_;
                sink_.EndElement();
                return;
            }
            if (!spaced)
                Decline();
            Attribute();
        }
    }

    void Attribute()
    {
        const std::string_view name = Name();
        if (attributeAt_.size() / 2 == kMostAttributes)
            Decline();
        for (std::size_t i = 0; i < attributeAt_.size(); i += 2) {
            if (std::string_view(attributeBytes_.data() + attributeAt_[i]) == name)
                Decline();
        }
        Equals();
        const char quote = Quote();
        const std::string_view value = Run(kAttributeValueStops, true, [&](unsigned char c) {
            if (c == static_cast<unsigned char>(quote))
                return true;
            if (c == '<')
                Decline();
            ++p_;  // the other quote
            return false;
        });
        ++p_;
        attributeAt_.push_back(attributeBytes_.size());
        attributeBytes_.append(name).push_back('\0');
        attributeAt_.push_back(attributeBytes_.size());
        attributeBytes_.append(ForSink(value)).push_back('\0');
    }

    void ReportStart(std::string_view name)
    {
        attributes_.clear();
        for (std::size_t at : attributeAt_)
            attributes_.push_back(attributeBytes_.data() + at);
        attributes_.push_back(nullptr);
        sink_.StartElement(name, attributes_.data());
    }

    void EndTag()
    {
        event_ = p_;
        p_ += 2;
        if (Name() != open_.back())
            Decline();
        SkipSpace();
        Expect(">");
        sink_.EndElement();
        open_.pop_back();
    }

    const unsigned char* const begin_;
    const unsigned char* const end_;
    const unsigned char* p_;
    const bool gbk_;
    XmlNodeSink& sink_;
    bool convert_ = false;                // a GBK document's texts go to the sink as UTF-8
    std::vector<std::string_view> open_;  // the names of the open elements, in the document's bytes
    std::string text_;                    // a text that differs from the bytes it was read from
    std::string converted_;
    std::string attributeBytes_;          // the start tag's names and values, each ended by a zero byte
    std::vector<std::size_t> attributeAt_;
    std::vector<const char*> attributes_;
    const unsigned char* event_;            // where the node being reported begins
    mutable const unsigned char* counted_;  // lines are counted up to here
    mutable std::uint32_t line_ = 1;
};

bool ReadXmlSubset(std::string_view bytes, const XmlSourceEncoding& encoding, XmlNodeSink& sink) noexcept
{
    const bool gbk = encoding.coding == XmlTextCoding::Gbk;
    if (!gbk && encoding.parseAs != XmlParseAs::Utf8)
        return false;
    return XmlSubsetReader(bytes, gbk, sink).Read();
}

} // namespace xml
