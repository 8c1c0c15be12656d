#pragma once
#include <stdexcept>
#include <string>

namespace rt {

// The runtime's error type: what every failure inside a module travels as.
// The message is GBK text. Header-only so that a throw in one binary and a
// catch in another see the same type through the shared C++ runtime.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& gbkMessage) : std::runtime_error(gbkMessage) {}
};

// An input/output failure of the file system (a directory that cannot be
// made current, a file that cannot be opened where the caller must know).
class IoError : public Error {
public:
    using Error::Error;
};

} // namespace rt
