#include "sharedrt/RtQuery.h"

namespace rt {

RtQuery::~RtQuery() = default;

} // namespace rt
