#pragma once
// The same document in another encoding, for targets that check that the
// encoding of a file does not change what the module reads from it.
#include "text/GbkCodeTable.h"
#include "text/GbkConverter.h"

#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

// GBK bytes as UTF-8 behind a byte-order mark (which decides over any
// declaration), when that is the same text: every character a real one
// (no stand-in of the code table), the platform's converter giving back the
// very bytes, and no character reference (which the two codings may give
// as different GBK sequences of one character).
inline std::optional<std::string> SameTextAsUtf8(std::string_view gbk)
{
    if (gbk.find("&#") != std::string_view::npos)
        return std::nullopt;
    std::string utf8 = "\xEF\xBB\xBF";
    if (!text::GbkCodeTable::System().AppendUtf8(utf8, gbk))
        return std::nullopt;
    if (utf8.find("\xF3") != std::string::npos)  // lead byte of plane 15, where the stand-ins are
        return std::nullopt;
    if (text::SystemGbkConverter().Utf8ToGbk(std::string_view(utf8).substr(3)) != gbk)
        return std::nullopt;
    return utf8;
}

} // namespace fuzz
