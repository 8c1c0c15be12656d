#pragma once
// Reading one entry of a parameter text as the host does: name=value pairs
// separated by ';', with '=' and ';' inside written "&eq%" and "&lim%".
#include <string>
#include <string_view>

namespace shell {

// The unescaped value of the first pair whose name equals `name` (ASCII
// letters compared without case); empty when there is none.
std::string ReadParamEntry(std::string_view text, std::string_view name);

} // namespace shell
