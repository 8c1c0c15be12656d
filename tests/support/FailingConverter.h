#pragma once
// A converter that runs out of memory on the text "坏" (E5 9D 8F in UTF-8),
// as a conversion may on any text; every other text converts as the
// system's converter does.
#include "config/GbkConverter.h"

#include <new>
#include <string>
#include <string_view>

namespace testing_support {

class FailingConverter : public config::GbkConverter {
public:
    std::string Utf8ToGbk(std::string_view utf8) const override
    {
        if (utf8.find("\xE5\x9D\x8F") != std::string_view::npos)
            throw std::bad_alloc();
        return config::SystemGbkConverter().Utf8ToGbk(utf8);
    }
};

} // namespace testing_support
