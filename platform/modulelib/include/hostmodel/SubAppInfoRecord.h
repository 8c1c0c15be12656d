#pragma once
// The host's record of a sub-application, as GetCurSubAppInfo and
// GetpSubAppInfo hand it out. Modules read only the version, where the
// contract's record (WscbsSubAppInfo) has it: a length-prefixed text at
// byte 256. The code sits in the bytes the contract leaves to the host, the
// caption after the contract's record. The record is owned by the host and
// lives as long as the host knows the sub-application. It holds no pointer:
// the same 768 bytes in the 32-bit product and the 64-bit build.
#include "wscbs/wscbs.h"

#include <cstddef>
#include <cstdint>

namespace hostmodel {

#pragma pack(push, 1)
struct SubAppInfoRecord {
    std::uint8_t Code[256];     // 0: length byte, then up to 255 bytes
    std::uint8_t Version[256];  // 256: length byte, then up to 255 bytes
    std::uint8_t Caption[256];  // 512: the sub-application's display name
};
#pragma pack(pop)

static_assert(sizeof(SubAppInfoRecord) == 768);
static_assert(offsetof(SubAppInfoRecord, Code) == 0);
static_assert(offsetof(SubAppInfoRecord, Caption) == 512);
static_assert(offsetof(SubAppInfoRecord, Version) == offsetof(WscbsSubAppInfo, Version));
static_assert(sizeof(SubAppInfoRecord::Version) == sizeof(WscbsSubAppInfo::Version));
static_assert(sizeof(SubAppInfoRecord) >= sizeof(WscbsSubAppInfo));

// The record as the services hand it out: the contract's view of its first
// 512 bytes (byte arrays both, so the view reads the same bytes).
inline const WscbsSubAppInfo* ContractRecord(const SubAppInfoRecord* record) noexcept
{
    return reinterpret_cast<const WscbsSubAppInfo*>(record);
}

} // namespace hostmodel
