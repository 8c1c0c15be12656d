#include "ui/PeriodSource.h"

#include "host/HostServices.h"
#include "host/ValueObject.h"

namespace ui {

std::string CurrentPeriod() { return host::GetString(host::CurSubAppVo(), kPeriodItemName, ""); }

} // namespace ui
