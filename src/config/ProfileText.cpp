#include "config/ProfileText.h"

namespace config {

std::vector<std::string> SplitProfileList(std::string_view buffer)
{
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos < buffer.size() && buffer[pos] != '\0') {
        std::size_t end = buffer.find('\0', pos);
        if (end == std::string_view::npos)
            end = buffer.size();
        items.emplace_back(buffer.substr(pos, end - pos));
        pos = end + 1;
    }
    return items;
}

ProfileEntry SplitProfileLine(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {std::string(line), {}};
    return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
}

} // namespace config
