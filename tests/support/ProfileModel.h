#pragma once
// The system's profile reader and writer written plainly, as the model that
// the module's line model is compared with. It holds what the profile
// functions hold: sections in file order, each with its keys in order.
//   - Every run of CR and LF bytes ends a line; white space around a line
//     is ignored, and a line left empty is no line.
//   - A line starting with '[' and holding a ']' begins a section named by
//     the text between '[' and the last ']', white space around it ignored.
//   - Any other line is a key: its name before the first '=', its value
//     after it, white space around both ignored; without '=' it has none.
//   - Keys before the first section belong to an unnamed section.
//   - Text is GBK, read by characters: a trail byte is never ']'.
//   - Names compare ignoring ASCII letter case; the first section and the
//     first key of a name are the ones found.
//   - Lists leave out keys starting with ';', and the list of names the
//     unnamed sections (the section function gives the first one's keys
//     for the empty name); the
//     section function takes the name asked for as given, the string and
//     write functions ignore white space around it.
//   - A write changes the first key of the name in the first section of the
//     name, or adds the key at the end of that section, or a new section at
//     the end.
// The model itself is held against the profile functions under Wine
// (tests/profile/ProfileAgreementTests.cpp); the profile fuzz target holds
// the module's document against the model for any text.
#include "sharedrt/GbkText.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

class ProfileModel {
public:
    struct Key {
        std::string name;
        std::optional<std::string> value;
        bool operator==(const Key&) const = default;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
        bool operator==(const Section&) const = default;
    };

    explicit ProfileModel(std::string_view text)
    {
        sections_.push_back({});
        while (!text.empty()) {
            const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
            const std::string_view line = Trim(text.substr(0, end));
            text.remove_prefix(std::min(text.find_first_not_of("\r\n", end), text.size()));
            if (line.empty())
                continue;
            std::size_t close = std::string_view::npos;  // the last ']' character, never a trail byte
            for (std::size_t at = 0; at < line.size(); at += rt::GbkCharWidth(line, at))
                close = line[at] == ']' ? at : close;
            if (line.front() == '[' && close != std::string_view::npos) {
                sections_.push_back({std::string(Trim(line.substr(1, close - 1))), {}});
                continue;
            }
            const std::size_t equals = line.find('=');
            Key key {std::string(Trim(line.substr(0, equals))), std::nullopt};
            if (equals != std::string_view::npos)
                key.value = std::string(Trim(line.substr(equals + 1)));
            sections_.back().keys.push_back(std::move(key));
        }
    }

    const std::vector<Section>& Sections() const { return sections_; }

    // The section names as the list function gives them: every named
    // section, repeated names too.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const Section& section : sections_)
            if (!section.name.empty())
                names.push_back(section.name);
        return names;
    }

    // The key lines of the first section of the name, as the section
    // function gives them.
    std::vector<std::string> Listing(std::string_view name) const
    {
        std::vector<std::string> lines;
        const Section* section = Find(name, false);
        for (std::size_t i = 0; section != nullptr && i < section->keys.size(); ++i) {
            const Key& key = section->keys[i];
            if (key.name.empty() || key.name.front() != ';')
                lines.push_back(key.value ? key.name + "=" + *key.value : key.name);
        }
        return lines;
    }

    // The value the string function gives, a pair of matching quotes taken
    // off; none where it gives the caller's default.
    std::optional<std::string> Get(std::string_view sectionName, std::string_view keyName) const
    {
        const Key* key = FindKey(sectionName, keyName);
        if (key == nullptr || !key->value)
            return std::nullopt;
        const std::string& value = *key->value;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            return value.substr(1, value.size() - 2);
        return value;
    }

    // The key as written, with or without its value; none when missing.
    std::optional<std::optional<std::string>> Raw(std::string_view sectionName, std::string_view keyName) const
    {
        const Key* key = FindKey(sectionName, keyName);
        if (key == nullptr)
            return std::nullopt;
        return key->value;
    }

    void Write(std::string_view sectionName, std::string_view keyName, std::string_view value)
    {
        sectionName = Trim(sectionName);
        keyName = Trim(keyName);
        Section* section = Find(sectionName);
        if (section == nullptr)
            section = &sections_.emplace_back(Section {std::string(sectionName), {}});
        for (Key& key : section->keys) {
            if (Same(key.name, keyName)) {
                key.value = std::string(value);
                return;
            }
        }
        section->keys.push_back({std::string(keyName), std::string(value)});
    }

    bool operator==(const ProfileModel&) const = default;

    static bool Same(std::string_view a, std::string_view b) { return rt::GbkUpperAscii(a) == rt::GbkUpperAscii(b); }

    static std::string_view Trim(std::string_view text)
    {
        const auto space = [](char c) {
            return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
        };
        while (!text.empty() && space(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && space(text.back()))
            text.remove_suffix(1);
        return text;
    }

private:
    // `trimmed`: white space around the name asked for is ignored (the
    // section function compares the name as given).
    const Section* Find(std::string_view name, bool trimmed = true) const
    {
        return const_cast<ProfileModel*>(this)->Find(name, trimmed);
    }
    Section* Find(std::string_view name, bool trimmed = true)
    {
        if (trimmed)
            name = Trim(name);
        for (Section& section : sections_)
            if (Same(section.name, name))
                return &section;
        return nullptr;
    }
    const Key* FindKey(std::string_view sectionName, std::string_view keyName) const
    {
        const Section* section = Find(sectionName);
        keyName = Trim(keyName);
        for (std::size_t i = 0; section != nullptr && i < section->keys.size(); ++i)
            if (Same(section->keys[i].name, keyName))
                return &section->keys[i];
        return nullptr;
    }

    std::vector<Section> sections_;
};

} // namespace testing_support
