#pragma once
// The parameter text that host and module hand each other: name=value pairs
// separated by ';', for example "ResultMsgStr=ok;ModalFormMsg=5". Inside
// names and values '=' is written "&eq%" and ';' is written "&lim%"; nothing
// else is escaped ('&' and '%' stand for themselves). Positions are 1-based
// byte positions. None of these functions fails on any text: what is not
// found reads as empty.
#include <cstddef>
#include <string>
#include <string_view>

namespace util {

inline constexpr char kPairSeparator = ';';
inline constexpr char kNameValueSeparator = '=';
inline constexpr std::string_view kEscapedPairSeparator = "&lim%";
inline constexpr std::string_view kEscapedNameValueSeparator = "&eq%";

// '=' replaced by "&eq%", then ';' by "&lim%".
std::string EncodeParamText(std::string_view text);

// "&eq%" replaced by '=', then "&lim%" by ';'.
std::string DecodeParamText(std::string_view text);

// The 1-based position of the first occurrence of `needle` in `haystack`
// that begins at or after `start`, ASCII letters compared ignoring case;
// 0 when there is none, when `needle` is empty or when `start` lies outside
// the haystack.
std::size_t FindTextIgnoreCase(std::string_view needle, std::string_view haystack, std::size_t start);

// A new parameter text in which `name` has `value` (both unescaped; an
// empty value gives a pair ending with '='). The text is trimmed first. The
// first pair of that name (ignoring case), or the name standing alone
// without '=', is replaced where it stands and written with `name` exactly
// as passed; otherwise the pair is appended. Other pairs keep their order
// and bytes. An empty name returns the trimmed text unchanged.
std::string WriteParamValue(std::string_view text, std::string_view name, std::string_view value);

// The value (unescaped) of the first pair whose name equals `name` ignoring
// case, or empty. The first pair of that name decides, also when its value
// is empty; a name standing alone without '=' is never found.
std::string ReadParamValue(std::string_view text, std::string_view name);

// The value (unescaped) of the first pair whose name equals `name` byte for
// byte and whose value is not empty, or empty. The text is not trimmed; a
// segment without '=' has no name.
std::string ReadParamValueExact(std::string_view text, std::string_view name);

} // namespace util
