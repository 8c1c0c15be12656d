#pragma once
// The messages of the module log's lines: each line is a time, two spaces
// and the message, ended by CR LF.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// The messages of the lines in `logBytes` from byte `offset` on, those that
// hold `needle` (all of them for an empty one).
inline std::vector<std::string> LogMessages(std::string_view logBytes, std::size_t offset = 0,
                                            std::string_view needle = {})
{
    std::vector<std::string> messages;
    for (std::size_t start = offset < logBytes.size() ? offset : logBytes.size(); start < logBytes.size();) {
        std::size_t end = logBytes.find("\r\n", start);
        if (end == std::string_view::npos)
            end = logBytes.size();
        const std::string_view line = logBytes.substr(start, end - start);
        const std::size_t gap = line.find("  ");
        const std::string_view message = gap == std::string_view::npos ? line : line.substr(gap + 2);
        if (message.find(needle) != std::string_view::npos)
            messages.emplace_back(message);
        start = end + 2;
    }
    return messages;
}

} // namespace testing_support
