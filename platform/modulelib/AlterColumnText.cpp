#include "AlterColumnText.h"

namespace hostmodel {
namespace {

constexpr bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr char Lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// One pass over the statement, left to right; every step either takes its
// token and moves on or fails.
class StatementScanner {
public:
    explicit StatementScanner(std::string_view text) : text_(text) {}

    // Skips blanks; true when there was at least one.
    bool Blanks()
    {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsBlank(text_[pos_]))
            ++pos_;
        return pos_ > start;
    }

    // The keyword in any ASCII case.
    bool Keyword(std::string_view word)
    {
        if (text_.size() - pos_ < word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (Lower(text_[pos_ + i]) != word[i])
                return false;
        }
        pos_ += word.size();
        return true;
    }

    bool Char(char c)
    {
        if (pos_ >= text_.size() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    // A name quoted with [], "" or `` (at least one character inside, no
    // closing mark), unquoted; or a bare run of bytes that are no blank,
    // no opening mark and none of `alsoEnding`.
    std::optional<std::string> Name(std::string_view alsoEnding)
    {
        if (pos_ >= text_.size())
            return std::nullopt;
        const char open = text_[pos_];
        const char close = open == '[' ? ']' : open;
        if (open == '[' || open == '"' || open == '`') {
            const std::size_t end = text_.find(close, pos_ + 1);
            if (end == std::string_view::npos || end == pos_ + 1)
                return std::nullopt;
            std::string name(text_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = end + 1;
            return name;
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != '[' && text_[pos_] != '"' &&
               text_[pos_] != '`' && alsoEnding.find(text_[pos_]) == std::string_view::npos)
            ++pos_;
        if (pos_ == start)
            return std::nullopt;
        return std::string(text_.substr(start, pos_ - start));
    }

    // 1 to 9 decimal digits.
    std::optional<int> Digits()
    {
        int value = 0;
        std::size_t count = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            if (++count > 9)
                return std::nullopt;
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
        }
        if (count == 0)
            return std::nullopt;
        return value;
    }

    bool AtEnd() const noexcept { return pos_ == text_.size(); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::optional<AlterColumnRequest> ParseAlterColumn(std::string_view sql)
{
    StatementScanner scan(sql);
    scan.Blanks();
    if (!scan.Keyword("alter") || !scan.Blanks() || !scan.Keyword("table") || !scan.Blanks())
        return std::nullopt;
    std::optional<std::string> table = scan.Name("");
    if (!table || !scan.Blanks() || !scan.Keyword("alter") || !scan.Blanks() || !scan.Keyword("column") ||
        !scan.Blanks())
        return std::nullopt;
    std::optional<std::string> column = scan.Name("(");
    if (!column || !scan.Blanks() || !scan.Keyword("text"))
        return std::nullopt;
    scan.Blanks();
    if (!scan.Char('('))
        return std::nullopt;
    scan.Blanks();
    const std::optional<int> length = scan.Digits();
    if (!length)
        return std::nullopt;
    scan.Blanks();
    if (!scan.Char(')'))
        return std::nullopt;
    scan.Blanks();
    scan.Char(';');
    scan.Blanks();
    if (!scan.AtEnd())
        return std::nullopt;
    return AlterColumnRequest{std::move(*table), std::move(*column), *length};
}

} // namespace hostmodel
