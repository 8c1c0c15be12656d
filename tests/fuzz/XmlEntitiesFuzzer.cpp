// Entity decoding (util/XmlUtil.h) against the five replacements made one
// after the other with a std::string find/replace loop, "&amp;" last.
//   input: the text
#include "FuzzSupport.h"

#include "xml/XmlEntities.h"

namespace {

std::string ReplaceRef(const std::string& source, const std::string& find, const std::string& replacement)
{
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = source.find(find); at != std::string::npos; at = source.find(find, from)) {
        out += source.substr(from, at - from) + replacement;
        from = at + find.size();
    }
    return out + source.substr(from);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string expected = text;
    for (const auto& [encoded, decoded] : {std::pair {"&lt;", "<"}, std::pair {"&gt;", ">"}, std::pair {"&quot;", "\""},
                                           std::pair {"&apos;", "'"}, std::pair {"&amp;", "&"}})
        expected = ReplaceRef(expected, encoded, decoded);
    const std::string decoded = xml::DecodeXmlEntities(text);
    FUZZ_CHECK_TEXT(decoded, expected, "text " + fuzz::Printable(text));
    FUZZ_CHECK(decoded.size() <= text.size(), "decoding made the text longer: " + fuzz::Printable(text));
    return 0;
}
