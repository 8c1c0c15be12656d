#pragma once
// A small writer of JSON text for the installation check's report. Texts
// given to it are GBK and come out as UTF-8, escaped; a byte sequence that
// is no GBK character comes out as U+FFFD. Members and elements are laid
// out one per line, indented by two spaces per level.
//
//   JsonWriter json;
//   json.BeginObject().Member("entries", 37).Key("problems").BeginArray().EndArray().EndObject();
//   json.Text();  // {"entries": 37, "problems": []} over four lines
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace check {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the object being written.
    JsonWriter& Key(std::string_view gbk);

    JsonWriter& String(std::string_view gbk);
    JsonWriter& Number(std::int64_t value);
    // The shortest text that reads back as the same number; null for a
    // value JSON has no number for (infinity, NaN).
    JsonWriter& Float(double value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    // Key and value at once.
    JsonWriter& Member(std::string_view key, std::string_view gbk) { return Key(key).String(gbk); }
    JsonWriter& Member(std::string_view key, const char* gbk) { return Key(key).String(gbk); }
    JsonWriter& Member(std::string_view key, const std::string& gbk) { return Key(key).String(gbk); }
    template <typename Integer,
              std::enable_if_t<std::is_integral_v<Integer> && !std::is_same_v<Integer, bool>, int> = 0>
    JsonWriter& Member(std::string_view key, Integer value)
    {
        return Key(key).Number(static_cast<std::int64_t>(value));
    }
    JsonWriter& Member(std::string_view key, bool value) { return Key(key).Bool(value); }

    // The text written so far; whole once every object and array is ended.
    const std::string& Text() const noexcept { return text_; }

private:
    struct Level {
        bool isObject = false;
        std::size_t count = 0;
    };
    void BeforeValue();
    void Close(char bracket);
    void Indent();

    std::string text_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

// A GBK text as a JSON string literal, quotes included.
std::string JsonString(std::string_view gbk);

} // namespace check
