#pragma once
// The platform test and the card-reader driver check of initialisation.
// The reader driver counts as installed when the smart-card library
// "Winscard.dll" is in the system directory; only Windows 98 is tested for
// it, every other platform needs no driver test.
#include <string>

namespace module {

// Windows 98: platform 1 (VER_PLATFORM_WIN32_WINDOWS), version 4.10.
constexpr bool IsWindows98Version(unsigned long platformId, unsigned long major, unsigned long minor) noexcept
{
    return platformId == 1 && major == 4 && minor == 10;
}

// True when the running system reports Windows 98; false on any other system
// and when the version cannot be read.
bool IsWindows98() noexcept;

// True when the reader driver is present or the platform needs no driver
// test; false only on Windows 98 without "Winscard.dll" in the system
// directory. The library is not loaded.
bool CardReaderDriverPresent() noexcept;

// The same check against a given directory in place of the system directory.
bool CardReaderDriverPresentIn(const std::string& systemDirectory) noexcept;

} // namespace module
