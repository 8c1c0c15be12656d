#include "profile/ProfileDocument.h"

#include "text/TextRules.h"

#include "sharedrt/GbkText.h"

#include <iterator>

namespace profile {
namespace {

constexpr const char kLineEnd[] = "\r\n";
constexpr const char kLineBreaks[] = "\r\n";

// White space as the profile reader skips it; 0x1A is the end-of-file mark
// of old editors.
bool IsProfileSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view TrimProfileSpace(std::string_view text) noexcept
{
    while (!text.empty() && IsProfileSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsProfileSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The place of the last ']' of a line: the reader sees characters, and the
// trail byte of a GBK character may be the byte of ']'.
std::size_t LastClosingBracket(std::string_view line) noexcept
{
    std::size_t last = std::string_view::npos;
    for (std::size_t at = 0; at < line.size(); at += rt::GbkCharWidth(line, at))
        if (line[at] == ']')
            last = at;
    return last;
}

// The length of the first line break of a run of CR and LF bytes: CR LF
// is one, as is a lone CR or LF.
std::size_t FirstBreakLength(std::string_view run) noexcept
{
    if (run.empty())
        return 0;
    return run.substr(0, 2) == kLineEnd ? 2 : 1;
}

// How many lines a run of CR and LF bytes ends, as an editor counts them.
unsigned long BreakCount(std::string_view run) noexcept
{
    unsigned long count = 0;
    for (std::size_t length; (length = FirstBreakLength(run)) != 0; run.remove_prefix(length))
        ++count;
    return count;
}

} // namespace

ProfileDocument::Line ProfileDocument::ParseLine(std::string text, std::string end)
{
    Line line;
    const std::string_view content = TrimProfileSpace(text);
    if (!content.empty() && content.front() == '[') {
        const std::size_t close = LastClosingBracket(content);
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.name = std::string(TrimProfileSpace(content.substr(1, close - 1)));
        }
    }
    if (line.kind != Kind::Section && !content.empty()) {
        const std::size_t equals = content.find('=');
        line.kind = Kind::Key;
        line.name = std::string(TrimProfileSpace(content.substr(0, equals)));
        if (equals != std::string_view::npos) {
            line.value = std::string(TrimProfileSpace(content.substr(equals + 1)));
            line.hasValue = true;
        }
    }
    line.text = std::move(text);
    line.end = std::move(end);
    return line;
}

ProfileDocument::ProfileDocument(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of(kLineBreaks, start), text.size());
        const std::size_t next = std::min(text.find_first_not_of(kLineBreaks, end), text.size());
        lines_.push_back(
            ParseLine(std::string(text.substr(start, end - start)), std::string(text.substr(end, next - end))));
        start = next;
    }
}

ProfileDocument::Span ProfileDocument::FindSection(std::string_view section, bool trimmed) const
{
    Span span;
    std::size_t i = 0;
    if (trimmed)
        section = TrimProfileSpace(section);
    if (!section.empty()) {
        while (i < lines_.size() &&
               !(lines_[i].kind == Kind::Section && text::EqualsIgnoreCase(lines_[i].name, section)))
            ++i;
        if (i == lines_.size())
            return span;
        ++i;
    }
    span.found = true;
    span.begin = i;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    span.end = i;
    return span;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    section = TrimProfileSpace(section);
    key = TrimProfileSpace(key);
    const Span span = FindSection(section);
    if (!span.found) {
        if (!lines_.empty() && lines_.back().end.empty())
            lines_.back().end = kLineEnd;
        lines_.push_back(ParseLine("[" + std::string(section) + "]", kLineEnd));
        lines_.push_back(ParseLine(std::string(key) + "=" + std::string(value), kLineEnd));
        return true;
    }
    std::size_t after = span.begin;  // the new line's place: after the section's last line that is not blank
    for (std::size_t i = span.begin; i < span.end; ++i) {
        Line& line = lines_[i];
        if (line.kind == Kind::Key && text::EqualsIgnoreCase(line.name, key)) {
            if (line.hasValue && line.value == value)
                return false;
            line = ParseLine(line.name + "=" + std::string(value), std::move(line.end));
            return true;
        }
        if (line.kind != Kind::Blank)
            after = i + 1;
    }
    Line added = ParseLine(std::string(key) + "=" + std::string(value), kLineEnd);
    if (after > 0) {
        // The line before keeps its first line break; the blank lines that
        // followed it follow the new line.
        std::string& end = lines_[after - 1].end;
        if (end.empty())
            end = kLineEnd;
        added.end += end.substr(FirstBreakLength(end));
        end.resize(FirstBreakLength(end));
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after), std::move(added));
    return true;
}

bool ProfileDocument::KeepSectionLast(std::string_view section)
{
    std::vector<Line> kept;
    std::vector<Line> others;
    bool inSection = false;
    bool lastIsSection = false;
    int headers = 0;
    for (Line& line : lines_) {
        if (line.kind == Kind::Section) {
            inSection = text::EqualsIgnoreCase(line.name, section);
            headers += inSection ? 1 : 0;
            lastIsSection = inSection;
            if (inSection && headers > 1)
                continue;
        }
        (inSection ? kept : others).push_back(std::move(line));
    }
    const bool ended = kept.empty() ? others.empty() || !others.back().end.empty() : !kept.back().end.empty();
    const bool changed = headers != 1 || !lastIsSection || !ended;
    if (kept.empty())
        kept.push_back(ParseLine("[" + std::string(section) + "]", kLineEnd));
    if (!others.empty() && others.back().end.empty())
        others.back().end = kLineEnd;
    if (kept.back().end.empty())
        kept.back().end = kLineEnd;
    lines_ = std::move(others);
    lines_.insert(lines_.end(), std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()));
    return changed;
}

std::string ProfileDocument::Text() const
{
    std::string text;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.end;
    }
    return text;
}

std::vector<std::string> ProfileDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Section && !line.name.empty() && FindSection(line.name).begin == i + 1)
            names.push_back(line.name);
    }
    return names;
}

std::vector<std::string> ProfileDocument::SectionLines(std::string_view section) const
{
    std::vector<std::string> lines;
    const Span span = FindSection(section, false);
    for (std::size_t i = span.begin; span.found && i < span.end; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Key && !line.IsComment())
            lines.push_back(line.hasValue ? line.name + "=" + line.value : line.name);
    }
    return lines;
}

std::vector<unsigned long> ProfileDocument::SectionLineNumbers(std::string_view section) const
{
    std::vector<unsigned long> numbers;
    const Span span = FindSection(section, false);
    unsigned long number = 1;
    for (std::size_t i = 0; span.found && i < span.end; ++i) {
        const Line& line = lines_[i];
        if (i >= span.begin && line.kind == Kind::Key && !line.IsComment())
            numbers.push_back(number);
        number += BreakCount(line.end);
    }
    return numbers;
}

std::optional<std::string> ProfileDocument::Value(std::string_view section, std::string_view key) const
{
    key = TrimProfileSpace(key);
    const Span span = FindSection(section);
    for (std::size_t i = span.begin; span.found && i < span.end; ++i) {
        const Line& line = lines_[i];
        if (line.kind != Kind::Key || !text::EqualsIgnoreCase(line.name, key))
            continue;
        if (!line.hasValue)
            return std::nullopt;  // the first key of the name has no value at all
        const std::string& value = line.value;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            return value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

} // namespace profile
