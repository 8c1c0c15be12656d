#pragma once
// Reads a JSON text that a program of the build printed: objects, arrays,
// strings (UTF-8, with \uXXXX escapes and surrogate pairs), numbers, true,
// false and null. Anything else throws std::runtime_error naming the offset.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testing_support {

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };

    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // UTF-8
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;  // in the order written

    bool Has(std::string_view key) const
    {
        for (const auto& member : members)
            if (member.first == key)
                return true;
        return false;
    }

    // The member `key` of an object; throws when this is no object or has
    // no such member.
    const JsonValue& operator[](std::string_view key) const
    {
        if (type != Type::Object)
            throw std::runtime_error("not an object where \"" + std::string(key) + "\" is read");
        for (const auto& member : members)
            if (member.first == key)
                return member.second;
        throw std::runtime_error("no member \"" + std::string(key) + "\"");
    }

    const std::string& String() const
    {
        if (type != Type::String)
            throw std::runtime_error("not a string");
        return text;
    }
    bool Bool() const
    {
        if (type != Type::Bool)
            throw std::runtime_error("not true or false");
        return boolean;
    }
    double Number() const
    {
        if (type != Type::Number)
            throw std::runtime_error("not a number");
        return number;
    }
};

namespace json_detail {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Document()
    {
        JsonValue value = Value();
        Space();
        if (at_ != text_.size())
            Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
    }

    void Space()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }

    char Next()
    {
        if (at_ >= text_.size())
            Fail("unexpected end");
        return text_[at_++];
    }

    void Expect(char c)
    {
        Space();
        if (Next() != c)
            Fail(std::string("expected '") + c + "'");
    }

    bool Word(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    JsonValue Value()
    {
        Space();
        if (at_ >= text_.size())
            Fail("unexpected end");
        JsonValue value;
        const char c = text_[at_];
        if (c == '{') {
            ++at_;
            value.type = JsonValue::Type::Object;
            Space();
            if (at_ < text_.size() && text_[at_] == '}') {
                ++at_;
                return value;
            }
            for (;;) {
                Space();
                if (at_ >= text_.size() || text_[at_] != '"')
                    Fail("expected a member name");
                std::string key = StringBody();
                Expect(':');
                value.members.emplace_back(std::move(key), Value());
                Space();
                const char after = Next();
                if (after == '}')
                    return value;
                if (after != ',')
                    Fail("expected ',' or '}'");
            }
        }
        if (c == '[') {
            ++at_;
            value.type = JsonValue::Type::Array;
            Space();
            if (at_ < text_.size() && text_[at_] == ']') {
                ++at_;
                return value;
            }
            for (;;) {
                value.items.push_back(Value());
                Space();
                const char after = Next();
                if (after == ']')
                    return value;
                if (after != ',')
                    Fail("expected ',' or ']'");
            }
        }
        if (c == '"') {
            value.type = JsonValue::Type::String;
            value.text = StringBody();
            return value;
        }
        if (Word("true")) {
            value.type = JsonValue::Type::Bool;
            value.boolean = true;
            return value;
        }
        if (Word("false")) {
            value.type = JsonValue::Type::Bool;
            return value;
        }
        if (Word("null"))
            return value;
        if (c == '-' || (c >= '0' && c <= '9')) {
            const std::size_t start = at_;
            while (at_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos)
                ++at_;
            const std::string number(text_.substr(start, at_ - start));
            char* end = nullptr;
            value.type = JsonValue::Type::Number;
            value.number = std::strtod(number.c_str(), &end);
            if (end != number.c_str() + number.size())
                Fail("malformed number");
            return value;
        }
        Fail("unexpected character");
    }

    unsigned Hex4()
    {
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = Next();
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<unsigned>(h - 'A' + 10);
            else
                Fail("malformed \\u escape");
        }
        return code;
    }

    static void AppendUtf8(std::string& out, std::uint32_t code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // At the opening quote; returns the text up to the closing one.
    std::string StringBody()
    {
        ++at_;
        std::string out;
        for (;;) {
            const char c = Next();
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            switch (Next()) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                std::uint32_t code = Hex4();
                if (code >= 0xD800 && code < 0xDC00) {
                    if (Next() != '\\' || Next() != 'u')
                        Fail("lone high surrogate");
                    const std::uint32_t low = Hex4();
                    if (low < 0xDC00 || low >= 0xE000)
                        Fail("high surrogate without its low one");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code < 0xE000) {
                    Fail("lone low surrogate");
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                Fail("unknown escape");
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace json_detail

inline JsonValue ParseJson(std::string_view text)
{
    return json_detail::Parser(text).Document();
}

} // namespace testing_support
