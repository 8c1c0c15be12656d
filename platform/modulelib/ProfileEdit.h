#pragma once
// One value of an INI file's text set the way the private-profile functions
// set it, the rest of the text kept byte for byte. The host writes its INI
// files through this and a whole-file replacement, because the system's
// profile functions rewrite a file in place and report success even when
// the disk took nothing (Wine leaves an empty file then).
#include <string>
#include <string_view>

namespace hostmodel {

// The text with `key` of `section` set to `value` (leading blanks of the
// value dropped, as the profile functions drop them):
//  - a line starting with '[' and holding a ']' (blanks around it ignored)
//    heads the section named by the text between '[' and its last ']';
//    other lines that are neither blank nor comments (';') are keys, named
//    by the text before their first '=', trimmed; names compare ignoring
//    ASCII case, and the first section and key of a name decide;
//  - the key's line becomes "key=value" with the key as it was written;
//  - a missing key goes after the section's last line that is not blank,
//    a missing section at the end, each line ended by CR LF.
// The text is UTF-16: the host decodes its files as the profile functions
// do (by their byte-order mark, else in the ANSI code page).
std::u16string SetProfileValue(std::u16string_view text, std::u16string_view section, std::u16string_view key,
                               std::u16string_view value);

} // namespace hostmodel
