#include "config/ErrorCatalogue.h"

#include "config/ErrorCatalogueMessages.h"
#include "config/ErrorCatalogueParser.h"
#include "config/ErrorRecordArray.h"
#include "util/FileUtil.h"
#include "config/GbkConverter.h"
#include "host/HostServices.h"
#include "host/ValueObject.h"
#include "util/FileUtil.h"

#include "sharedrt/RtError.h"

namespace config {
namespace {

// The catalogue, from the first successful load until the module unloads.
ErrorRecordArray g_errorList;

} // namespace

bool LoadErrorCatalogueFile(const std::string& file, rt::DataVO* vo, std::string& message)
{
    std::uint32_t error = 0;
    const util::PathKind kind = util::QueryPathKind(file, &error);
    if (kind == util::PathKind::Missing || kind == util::PathKind::Directory) {
        message = kCatalogueMissingMessage;
        return false;
    }
    std::string content;
    if (kind == util::PathKind::Unknown || (error = util::ReadWholeFileChecked(file, content)) != 0) {
        message = CatalogueUnreadableMessage(error);
        return false;
    }
    const ParsedErrorCatalogue parsed = ParseErrorCatalogue(content, SystemGbkConverter());
    if (!parsed.loaded) {
        message = kCatalogueEmptyMessage;
        return false;
    }
    if (vo == nullptr)
        throw rt::Error("宿主没有提供子系统的值对象，无法发布错误信息列表");
    // The new array goes out before the old one is released, so that the
    // host's item never points at freed records.
    ErrorRecordArray loaded;
    loaded.Assign(parsed.entries);
    host::SetPointer(vo, kErrorListItem, loaded.First());
    g_errorList.Swap(loaded);
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

} // namespace config
