#include "shell/ParamEntry.h"

#include "sharedrt/GbkText.h"

namespace shell {
namespace {

bool SameName(std::string_view a, std::string_view b) { return rt::GbkCompareIgnoreAsciiCase(a, b) == 0; }

// A new text with every `from` of `text` replaced by `to`, scanning on
// behind each replaced piece.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
        result.append(text.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    return result.append(text.substr(start));
}

std::string Unescape(std::string_view text)
{
    return ReplaceAll(ReplaceAll(text, "&eq%", "="), "&lim%", ";");
}

} // namespace

std::string ReadParamEntry(std::string_view text, std::string_view name)
{
    while (!text.empty()) {
        const std::size_t end = text.find(';');
        const std::string_view pair = text.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && SameName(Unescape(pair.substr(0, equals)), name))
            return Unescape(pair.substr(equals + 1));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return {};
}

} // namespace shell
