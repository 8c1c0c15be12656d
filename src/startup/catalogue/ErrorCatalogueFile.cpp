#include "startup/catalogue/ErrorCatalogueFile.h"

#include "startup/catalogue/ErrorCatalogueMessages.h"
#include "util/FileUtil.h"

namespace startup {

CatalogueFile ReadErrorCatalogueFile(const std::string& file)
{
    CatalogueFile read;
    read.path = file;
    std::uint32_t error = 0;
    const util::PathKind kind = util::QueryPathKind(file, &error);
    if (kind == util::PathKind::Missing || kind == util::PathKind::Directory) {
        read.failureMessage = kCatalogueMissingMessage;
        return read;
    }
    if (kind == util::PathKind::Unknown || (error = util::ReadWholeFileChecked(file, read.bytes)) != 0) {
        read.bytes.clear();
        read.failureMessage = CatalogueUnreadableMessage(error);
        return read;
    }
    read.read = true;
    return read;
}

} // namespace startup
