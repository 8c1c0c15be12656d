#pragma once
// A converter that runs out of memory on the text "ก" (E0 B8 81 in UTF-8,
// a character GBK has not, so that conversions ask the converter for it),
// as a conversion may on any text; every other text converts as the
// system's converter does.
#include "text/GbkConverter.h"

#include <new>
#include <string>
#include <string_view>

namespace testing_support {

class FailingConverter : public text::GbkConverter {
public:
    std::string Utf8ToGbk(std::string_view utf8) const override
    {
        if (utf8.find("\xE0\xB8\x81") != std::string_view::npos)
            throw std::bad_alloc();
        return text::SystemGbkConverter().Utf8ToGbk(utf8);
    }
};

} // namespace testing_support
