#include "shell/ParamEntry.h"

#include "sharedrt/GbkText.h"

namespace shell {
namespace {

bool SameName(std::string_view a, std::string_view b) { return rt::GbkCompareIgnoreAsciiCase(a, b) == 0; }

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string Unescape(std::string_view text)
{
    return ReplaceAll(ReplaceAll(std::string(text), "&eq%", "="), "&lim%", ";");
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
