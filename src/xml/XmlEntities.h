#pragma once
// Decoding of the character entities in texts read from XML files.
#include <string>
#include <string_view>

namespace xml {

// The text with the five predefined entities decoded, in this order:
// "&lt;", "&gt;", "&quot;", "&apos;", and "&amp;" last, so that "&amp;lt;"
// gives "&lt;" and is not decoded further. Numeric character references
// stay as they are.
std::string DecodeXmlEntities(std::string_view text);

} // namespace xml
