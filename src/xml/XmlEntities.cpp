#include "xml/XmlEntities.h"

#include "util/FastStrings.h"

#include <string_view>

namespace xml {

namespace {

struct Entity {
    std::string_view encoded;
    std::string_view decoded;
};

// "&amp;" must stay last: decoding it earlier would create new entities.
constexpr Entity kEntities[] = {
    {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"},
};

} // namespace

std::string DecodeXmlEntities(std::string_view text)
{
    // Every entity begins with '&'; most texts hold none.
    if (text.find('&') == std::string_view::npos)
        return std::string(text);
    std::string result(text);
    for (const Entity& entity : kEntities)
        result = util::ReplaceAllText(result, entity.encoded, entity.decoded);
    return result;
}

} // namespace xml
