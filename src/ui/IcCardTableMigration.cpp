#include "ui/IcCardTableMigration.h"

#include "host/HostServices.h"
#include "sharedrt/RtQuery.h"

#include <memory>
#include <string>

namespace ui {
namespace {

constexpr const char* kStatements[] = {
    "alter table cs_ickxx alter column icxlh Text(4)",
    "alter table cs_ickxx alter column fjksm Text(4)",
};
constexpr int kStatementFailedMessage = 70001005;

} // namespace

void AlterIcCardColumns()
{
    auto owned = std::make_unique<rt::RtQuery>();
    rt::RtQuery* query = owned.get();
    for (const char* statement : kStatements) {
        std::string message;
        if (!host::ExecSql(statement, query, message))
            host::InforMsg(kStatementFailedMessage, "", true);
    }
}

} // namespace ui
