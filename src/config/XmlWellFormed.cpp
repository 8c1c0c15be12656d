#include "config/XmlWellFormed.h"

#include <expat.h>

#include <climits>
#include <memory>

namespace config {
namespace {

struct ParserDeleter {
    void operator()(XML_Parser parser) const noexcept { XML_ParserFree(parser); }
};
using UniqueParser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter>;

// The code point expat is told for a GBK pair. Only the check's outcome
// depends on it: any CJK ideograph is a valid character and name character.
constexpr int kGbkPairStandIn = 0x4E00;

int XMLCALL ConvertGbkPair(void*, const char* bytes)
{
    const auto trail = static_cast<unsigned char>(bytes[1]);
    return trail < 0x40 || trail == 0x7F || trail == 0xFF ? -1 : kGbkPairStandIn;
}

// Called for every encoding expat does not know itself: the GBK family, by
// the name the module gives the parser or the one the document declares.
int XMLCALL GbkEncoding(void*, const XML_Char*, XML_Encoding* info)
{
    for (int byte = 0; byte < 256; ++byte) {
        if (byte < 0x80)
            info->map[byte] = byte;
        else if (byte >= 0x81 && byte <= 0xFE)
            info->map[byte] = -2; // the lead byte of a pair
        else
            info->map[byte] = byte == 0x80 ? 0x20AC : 0xF8F5; // code page 936's single bytes
    }
    info->data = nullptr;
    info->convert = ConvertGbkPair;
    info->release = nullptr;
    return XML_STATUS_OK;
}

} // namespace

bool IsWellFormedXml(std::string_view bytes, const XmlSourceEncoding& encoding)
{
    if (encoding.coding == XmlTextCoding::Unicode && StartsAsUtf32(bytes))
        return true;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return false;
    // The encoding the module reads the bytes in overrides their declaration,
    // so that checker and reader see the same characters.
    const char* name = nullptr; // UTF-16: expat finds it by the mark or the zero bytes
    if (encoding.coding == XmlTextCoding::Gbk)
        name = "GBK";
    else if (encoding.parseAs == pugi::encoding_utf8)
        name = "UTF-8";
    else if (encoding.parseAs == pugi::encoding_latin1)
        name = "ISO-8859-1";
    const UniqueParser parser(XML_ParserCreate(name));
    if (!parser)
        return false;
    XML_SetUnknownEncodingHandler(parser.get(), GbkEncoding, nullptr);
    return XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
}

} // namespace config
