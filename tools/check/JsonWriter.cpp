#include "JsonWriter.h"

#include "text/GbkCodeTable.h"

#include "sharedrt/GbkText.h"
#include "sharedrt/RtError.h"

#include <charconv>
#include <cmath>

namespace check {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// GBK as UTF-8, character by character where the whole does not convert.
std::string GbkAsUtf8(std::string_view gbk)
{
    const text::GbkCodeTable& table = text::GbkCodeTable::System();
    std::string utf8;
    if (table.AppendUtf8(utf8, gbk))
        return utf8;
    utf8.clear();
    for (std::size_t at = 0; at < gbk.size();) {
        const std::size_t width = rt::GbkCharWidth(gbk, at);
        if (table.AppendUtf8(utf8, gbk.substr(at, width))) {
            at += width;
            continue;
        }
        // The lead byte alone is lost; the byte behind it is read again.
        utf8 += kReplacement;
        ++at;
    }
    return utf8;
}

} // namespace

std::string JsonString(std::string_view gbk)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char c : GbkAsUtf8(gbk)) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

void JsonWriter::Indent()
{
    text_ += '\n';
    text_.append(levels_.size() * 2, ' ');
}

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) {
        if (!text_.empty())
            throw rt::Error("JSON: a second value at the top");
        return;
    }
    if (levels_.back().isObject)
        throw rt::Error("JSON: a member without a key");
    if (levels_.back().count++ > 0)
        text_ += ',';
    Indent();
}

JsonWriter& JsonWriter::Key(std::string_view gbk)
{
    if (levels_.empty() || !levels_.back().isObject || afterKey_)
        throw rt::Error("JSON: a key outside an object");
    if (levels_.back().count++ > 0)
        text_ += ',';
    Indent();
    text_ += JsonString(gbk);
    text_ += ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::BeginObject()
{
    BeforeValue();
    text_ += '{';
    levels_.push_back({true, 0});
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    BeforeValue();
    text_ += '[';
    levels_.push_back({false, 0});
    return *this;
}

void JsonWriter::Close(char bracket)
{
    const bool isObject = bracket == '}';
    if (levels_.empty() || levels_.back().isObject != isObject || afterKey_)
        throw rt::Error("JSON: an end without its beginning");
    const bool empty = levels_.back().count == 0;
    levels_.pop_back();
    if (!empty)
        Indent();
    text_ += bracket;
    if (levels_.empty())
        text_ += '\n';
}

JsonWriter& JsonWriter::EndObject()
{
    Close('}');
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    Close(']');
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view gbk)
{
    BeforeValue();
    text_ += JsonString(gbk);
    return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t value)
{
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Float(double value)
{
    if (!std::isfinite(value))
        return Null();
    BeforeValue();
    char text[32];
    text_.append(text, std::to_chars(text, text + sizeof text, value).ptr);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    BeforeValue();
    text_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null()
{
    BeforeValue();
    text_ += "null";
    return *this;
}

} // namespace check
