#pragma once
// The host's record of a sub-application, as GetCurSubAppInfo and
// GetpSubAppInfo hand it out. Modules read only the version: a
// length-prefixed text at byte 256. The record is owned by the host and
// lives as long as the host knows the sub-application. It holds no pointer:
// the same 768 bytes in the 32-bit product and the 64-bit build.
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
static_assert(offsetof(SubAppInfoRecord, Version) == 256);
static_assert(offsetof(SubAppInfoRecord, Caption) == 512);

} // namespace hostmodel
