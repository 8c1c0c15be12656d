#include "ProfileEdit.h"

#include <vector>

namespace hostmodel {
namespace {

template <typename Char>
bool IsBlank(Char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

template <typename Char>
std::basic_string_view<Char> Trimmed(std::basic_string_view<Char> text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

template <typename Char>
Char AsciiLower(Char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Char>
bool SameName(std::basic_string_view<Char> a, std::basic_string_view<Char> b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

template <typename Char>
struct Line {
    std::basic_string_view<Char> text;  // without its line end
    std::basic_string_view<Char> end;   // "\r\n", "\n" or nothing
};

template <typename Char>
std::vector<Line<Char>> SplitLines(std::basic_string_view<Char> text)
{
    std::vector<Line<Char>> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(Char('\n'), start);
        if (end == std::basic_string_view<Char>::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        std::size_t contentEnd = end;
        if (contentEnd > start && text[contentEnd - 1] == Char('\r'))
            --contentEnd;
        lines.push_back({text.substr(start, contentEnd - start), text.substr(contentEnd, end + 1 - contentEnd)});
        start = end + 1;
    }
    return lines;
}

// The section a line heads, if it heads one.
template <typename Char>
bool SectionName(std::basic_string_view<Char> line, std::basic_string_view<Char>& name)
{
    const std::basic_string_view<Char> content = Trimmed(line);
    if (content.empty() || content.front() != Char('['))
        return false;
    const std::size_t close = content.rfind(Char(']'));
    if (close == std::basic_string_view<Char>::npos)
        return false;
    name = content.substr(1, close - 1);
    return true;
}

// The key a line holds, if it holds one.
template <typename Char>
bool KeyName(std::basic_string_view<Char> line, std::basic_string_view<Char>& name)
{
    const std::basic_string_view<Char> content = Trimmed(line);
    if (content.empty() || content.front() == Char(';'))
        return false;
    name = Trimmed(content.substr(0, content.find(Char('='))));
    return true;
}

template <typename Char>
std::basic_string<Char> Joined(std::basic_string_view<Char> a, Char separator, std::basic_string_view<Char> b)
{
    std::basic_string<Char> text(a);
    text += separator;
    text += b;
    return text;
}

template <typename Char>
std::basic_string<Char> SetValue(std::basic_string_view<Char> text, std::basic_string_view<Char> section,
                                 std::basic_string_view<Char> key, std::basic_string_view<Char> value)
{
    while (!value.empty() && IsBlank(value.front()))
        value.remove_prefix(1);
    const std::basic_string<Char> lineEnd{Char('\r'), Char('\n')};
    const std::vector<Line<Char>> lines = SplitLines(text);

    std::size_t header = lines.size();
    std::basic_string_view<Char> name;
    for (std::size_t i = 0; i < lines.size() && header == lines.size(); ++i)
        if (SectionName(lines[i].text, name) && SameName(name, section))
            header = i;

    std::basic_string<Char> result;
    const auto append = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            result += lines[i].text;
            result += lines[i].end;
        }
    };
    if (header == lines.size()) {
        result = std::basic_string<Char>(text);
        if (!result.empty() && result.back() != Char('\n'))
            result += lineEnd;
        result += Char('[');
        result += section;
        result += Char(']');
        result += lineEnd + Joined(key, Char('='), value) + lineEnd;
        return result;
    }
    std::size_t last = header;  // the section's last line that is not blank
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        if (SectionName(lines[i].text, name))
            break;
        if (KeyName(lines[i].text, name) && SameName(name, key)) {
            append(0, i);
            result += Joined(name, Char('='), value);
            result += lines[i].end;
            append(i + 1, lines.size());
            return result;
        }
        if (!Trimmed(lines[i].text).empty())
            last = i;
    }
    append(0, last + 1);
    if (lines[last].end.empty())
        result += lineEnd;
    result += Joined(key, Char('='), value) + lineEnd;
    append(last + 1, lines.size());
    return result;
}

} // namespace

std::u16string SetProfileValue(std::u16string_view text, std::u16string_view section, std::u16string_view key,
                               std::u16string_view value)
{
    return SetValue(text, section, key, value);
}

} // namespace hostmodel
