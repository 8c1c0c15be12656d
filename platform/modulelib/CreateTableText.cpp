#include "CreateTableText.h"

#include "HostText.h"

#include <array>
#include <vector>

namespace hostmodel {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool IsWordChar(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_' || b == '$' ||
           b >= 0x80;
}

// Words that end a column's type name: what follows is a constraint.
bool IsConstraintWord(std::string_view word)
{
    static constexpr std::array<std::string_view, 11> kWords = {
        "CONSTRAINT", "PRIMARY", "NOT", "NULL", "UNIQUE", "CHECK",
        "DEFAULT", "COLLATE", "REFERENCES", "GENERATED", "AS"};
    for (std::string_view w : kWords)
        if (Utf8EqualsIgnoringAsciiCase(word, w))
            return true;
    return false;
}

// Words that start a table constraint instead of a column definition.
bool IsTableConstraintWord(std::string_view word)
{
    static constexpr std::array<std::string_view, 5> kWords = {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK",
                                                               "FOREIGN"};
    for (std::string_view w : kWords)
        if (Utf8EqualsIgnoringAsciiCase(word, w))
            return true;
    return false;
}

class Scanner {
public:
    explicit Scanner(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}

    std::size_t Pos() const { return pos_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Advance() { ++pos_; }

    void SkipSpaceAndComments()
    {
        while (!AtEnd()) {
            if (IsSpace(Peek())) {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "--") {
                const std::size_t end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else if (text_.substr(pos_, 2) == "/*") {
                const std::size_t end = text_.find("*/", pos_ + 2);
                pos_ = end == std::string_view::npos ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    static bool IsQuote(char c) { return c == '"' || c == '\'' || c == '`' || c == '['; }

    // Reads a quoted token at the position; its unquoted text. False when
    // the quote is not closed.
    bool ReadQuoted(std::string& unquoted)
    {
        const char open = Peek();
        const char close = open == '[' ? ']' : open;
        ++pos_;
        unquoted.clear();
        while (!AtEnd()) {
            const char c = text_[pos_++];
            if (c != close) {
                unquoted += c;
            } else if (close != ']' && Peek() == close) {
                unquoted += c;  // a doubled quote stands for itself
                ++pos_;
            } else {
                return true;
            }
        }
        return false;
    }

    std::string_view ReadWord()
    {
        const std::size_t start = pos_;
        while (!AtEnd() && IsWordChar(Peek()))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // Skips a parenthesised group at the position, quotes and comments
    // inside included. False when it is not closed.
    bool SkipGroup()
    {
        int depth = 0;
        std::string ignored;
        while (!AtEnd()) {
            SkipSpaceAndComments();
            const char c = Peek();
            if (IsQuote(c)) {
                if (!ReadQuoted(ignored))
                    return false;
                continue;
            }
            ++pos_;
            if (c == '(')
                ++depth;
            else if (c == ')' && --depth == 0)
                return true;
        }
        return false;
    }

private:
    std::string_view text_;
    std::size_t pos_;
};

struct Segment {
    std::size_t begin;
    std::size_t end;
};

// The column list's opening parenthesis and its top-level definitions.
bool SplitDefinitions(std::string_view sql, std::size_t& open, std::vector<Segment>& definitions)
{
    Scanner scan(sql);
    std::string ignored;
    for (;;) {
        scan.SkipSpaceAndComments();
        if (scan.AtEnd())
            return false;
        if (Scanner::IsQuote(scan.Peek())) {
            if (!scan.ReadQuoted(ignored))
                return false;
        } else if (scan.Peek() == '(') {
            break;
        } else if (scan.ReadWord().empty()) {
            scan.Advance();
        }
    }
    open = scan.Pos();
    Scanner inner(sql, open + 1);
    std::size_t begin = inner.Pos();
    for (;;) {
        inner.SkipSpaceAndComments();
        if (inner.AtEnd())
            return false;
        const char c = inner.Peek();
        if (Scanner::IsQuote(c)) {
            if (!inner.ReadQuoted(ignored))
                return false;
        } else if (c == '(') {
            if (!inner.SkipGroup())
                return false;
        } else if (c == ',' || c == ')') {
            definitions.push_back({begin, inner.Pos()});
            if (c == ')')
                return true;
            inner.Advance();
            begin = inner.Pos();
        } else if (inner.ReadWord().empty()) {
            inner.Advance();
        }
    }
}

} // namespace

std::optional<std::string> ReplaceColumnType(std::string_view createSql, std::string_view column,
                                             std::string_view newType)
{
    std::size_t open = 0;
    std::vector<Segment> definitions;
    if (!SplitDefinitions(createSql, open, definitions))
        return std::nullopt;

    for (const Segment& definition : definitions) {
        const std::string_view text = createSql.substr(0, definition.end);
        Scanner scan(text, definition.begin);
        scan.SkipSpaceAndComments();
        std::string name;
        if (Scanner::IsQuote(scan.Peek())) {
            if (!scan.ReadQuoted(name))
                continue;
        } else {
            name = std::string(scan.ReadWord());
            if (IsTableConstraintWord(name))
                continue;
        }
        if (!Utf8EqualsIgnoringAsciiCase(name, column))
            continue;

        const std::size_t afterName = scan.Pos();
        std::size_t typeBegin = std::string_view::npos;
        std::size_t typeEnd = afterName;
        for (;;) {
            scan.SkipSpaceAndComments();
            const std::size_t wordStart = scan.Pos();
            if (scan.Peek() == '(' && typeBegin != std::string_view::npos) {
                if (!scan.SkipGroup())
                    return std::nullopt;
                typeEnd = scan.Pos();
                break;
            }
            const std::string_view word = scan.ReadWord();
            if (word.empty() || IsConstraintWord(word))
                break;
            if (typeBegin == std::string_view::npos)
                typeBegin = wordStart;
            typeEnd = scan.Pos();
        }

        std::string result(createSql.substr(open, afterName - open));
        if (typeBegin == std::string_view::npos) {
            result += " ";
            result += newType;
            result += createSql.substr(afterName);
        } else {
            result += createSql.substr(afterName, typeBegin - afterName);
            result += newType;
            result += createSql.substr(typeEnd);
        }
        return result;
    }
    return std::nullopt;
}

} // namespace hostmodel
