#include "startup/catalogue/ErrorCatalogue.h"

#include "startup/catalogue/ErrorCatalogueMessages.h"
#include "startup/catalogue/ErrorCatalogueParser.h"
#include "startup/catalogue/ErrorRecordArray.h"
#include "text/GbkConverter.h"
#include "startup/catalogue/ErrorCatalogueFile.h"
#include "host/HostServices.h"
#include "host/ValueObject.h"
#include "util/FileUtil.h"

#include "sharedrt/RtError.h"

namespace startup {
namespace {

// The catalogue, from the first successful load until the module unloads.
ErrorRecordArray g_errorList;

} // namespace

void PublishErrorCatalogue(const ParsedErrorCatalogue& parsed, rt::DataVO* vo)
{
    if (vo == nullptr)
        throw rt::Error("宿主没有提供子系统的值对象，无法发布错误信息列表");
    // The new array goes out before the old one is released, so that the
    // host's item never points at freed records.
    ErrorRecordArray loaded;
    loaded.Assign(parsed.entries);
    host::SetPointer(vo, kErrorListItem, loaded.First());
    g_errorList.Swap(loaded);
}

bool LoadErrorCatalogueFile(const std::string& file, rt::DataVO* vo, std::string& message)
{
    const CatalogueFile read = ReadErrorCatalogueFile(file);
    if (!read.read) {
        message = read.failureMessage;
        return false;
    }
    const ParsedErrorCatalogue parsed = ParseErrorCatalogue(read.bytes, text::SystemGbkConverter());
    if (!parsed.loaded) {
        message = kCatalogueEmptyMessage;
        return false;
    }
    PublishErrorCatalogue(parsed, vo);
    return true;
}

bool LoadErrorCatalogue(std::string& message)
{
    return LoadErrorCatalogueFile(host::RequiredCurSubAppPath() + kCatalogueFileName, host::CurSubAppVo(), message);
}

const void* PublishedErrorCatalogue() noexcept
{
    return g_errorList.First();
}

void ReleaseErrorCatalogue() noexcept
{
    g_errorList.Release();
}

} // namespace startup
