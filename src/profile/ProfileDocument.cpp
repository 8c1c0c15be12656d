#include "profile/ProfileDocument.h"

#include "text/TextRules.h"

#include <iterator>

namespace profile {
namespace {

constexpr const char kLineEnd[] = "\r\n";

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

} // namespace

ProfileDocument::Line ProfileDocument::ParseLine(std::string text, std::string end)
{
    Line line;
    const std::string_view content = TrimProfileSpace(text);
    if (!content.empty() && content.front() == '[') {
        const std::size_t close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.isSection = true;
            line.name = std::string(content.substr(1, close - 1));
        }
    }
    if (!line.isSection && !content.empty() && content.front() != ';') {
        const std::size_t equals = content.find('=');
        line.isKey = true;
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
        std::size_t end = text.find('\n', start);
        std::string_view lineEnd = "\n";
        if (end == std::string_view::npos) {
            end = text.size();
            lineEnd = {};
        }
        std::size_t contentEnd = end;
        if (!lineEnd.empty() && contentEnd > start && text[contentEnd - 1] == '\r') {
            --contentEnd;
            lineEnd = kLineEnd;
        }
        lines_.push_back(ParseLine(std::string(text.substr(start, contentEnd - start)), std::string(lineEnd)));
        start = end + (lineEnd.empty() ? 0 : 1);
    }
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value)
{
    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        if (!lines_.empty() && lines_.back().end.empty())
            lines_.back().end = kLineEnd;
        lines_.push_back(ParseLine("[" + std::string(section) + "]", kLineEnd));
        lines_.push_back(ParseLine(std::string(key) + "=" + std::string(value), kLineEnd));
        return true;
    }
    std::size_t last = header;  // the last line of the section that is not blank
    for (std::size_t i = header + 1; i < lines_.size() && !lines_[i].isSection; ++i) {
        Line& line = lines_[i];
        if (line.isKey && text::EqualsIgnoreCase(line.name, key)) {
            if (line.hasValue && line.value == value)
                return false;
            Line changed = ParseLine(line.name + "=" + std::string(value), line.end.empty() ? "" : line.end);
            line = std::move(changed);
            return true;
        }
        if (!TrimProfileSpace(line.text).empty())
            last = i;
    }
    if (lines_[last].end.empty())
        lines_[last].end = kLineEnd;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                  ParseLine(std::string(key) + "=" + std::string(value), kLineEnd));
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
        if (line.isSection) {
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

std::size_t ProfileDocument::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].isSection && text::EqualsIgnoreCase(lines_[i].name, section))
            return i;
    return lines_.size();
}

std::vector<std::string> ProfileDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].isSection && FindSection(lines_[i].name) == i)
            names.push_back(lines_[i].name);
    return names;
}

std::vector<std::string> ProfileDocument::SectionLines(std::string_view section) const
{
    std::vector<std::string> lines;
    for (std::size_t i = FindSection(section) + 1; i < lines_.size() && !lines_[i].isSection; ++i) {
        const Line& line = lines_[i];
        if (line.isKey)
            lines.push_back(line.hasValue ? line.name + "=" + line.value : line.name);
    }
    return lines;
}

std::vector<unsigned long> ProfileDocument::SectionLineNumbers(std::string_view section) const
{
    std::vector<unsigned long> numbers;
    for (std::size_t i = FindSection(section) + 1; i < lines_.size() && !lines_[i].isSection; ++i) {
        if (lines_[i].isKey)
            numbers.push_back(static_cast<unsigned long>(i + 1));
    }
    return numbers;
}

std::optional<std::string> ProfileDocument::Value(std::string_view section, std::string_view key) const
{
    for (std::size_t i = FindSection(section) + 1; i < lines_.size() && !lines_[i].isSection; ++i) {
        const Line& line = lines_[i];
        if (!line.isKey || !text::EqualsIgnoreCase(line.name, key))
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
