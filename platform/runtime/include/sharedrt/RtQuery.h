#pragma once
// The database query object that a module creates and hands to the host's
// ExecADOQueryMsg. The host keeps what the last statement did in it.
#include "sharedrt/Export.h"
#include "sharedrt/RtObject.h"
#include "sharedrt/RtString.h"

#include <cstdint>

namespace rt {

class SHAREDRT_API RtQuery : public RtObject {
public:
    explicit RtQuery(RtObject* owner = nullptr) noexcept : owner_(owner) {}
    // Out of line, so that the class's dispatch table lives in SharedRt.dll.
    ~RtQuery() override;

    RtObject* Owner() const noexcept { return owner_; }

    // Filled by the host after each statement.
    RtString LastStatement;
    std::int32_t RowsAffected = 0;

private:
    RtObject* owner_;
};

} // namespace rt
