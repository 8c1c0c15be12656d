#pragma once
// What a long show/close run watches in its own process: GDI objects,
// windows of the calling thread, committed private memory and heap bytes in
// use. Each counter reads the process as it is now; none of them keeps
// state between calls.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace soak {

// One entry of the GDI handle table that the PEB's GdiSharedHandleTable
// points at: 24 bytes in both widths, indexed by the low 16 bits of a GDI
// handle. Wine keeps one table per process and leaves the owner's process
// id 0; a deleted entry keeps its object pointer but loses its type.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint16_t ownerProcessId;
    std::uint16_t lockAndCount;
    std::uint8_t extendedTypeAndStock;  // 7 bits type, top bit: stock object
    std::uint8_t generation;
    std::uint8_t type;                  // 0: free
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
inline constexpr std::size_t kGdiHandleTableEntries = 0x10000;

// Live GDI objects of this process that are not stock objects, counted in
// the handle table; none when the PEB names no readable table.
std::optional<std::uint32_t> GdiObjectsInHandleTable();

// The same live objects by kind ("dc", "bitmap", "font", "brush", ...), in
// the table's own type numbering; empty when there is no table. What the
// soak prints when the count grows, to say what grew.
std::map<std::string, std::uint32_t> GdiObjectsByKind();

// The live objects of the table as handles with their kind, to tell which
// ones came between two snapshots.
struct GdiObject {
    HGDIOBJ handle;
    std::string kind;
    bool operator<(const GdiObject& other) const { return handle < other.handle; }
};
std::vector<GdiObject> GdiObjectsInTable();

// What an object is, for a report: its kind and, for a brush or a pen, its
// colour and the system colours (COLOR_...) that have that colour.
std::string DescribeGdiObject(const GdiObject& object);

// GDI objects of this process: what GetGuiResources says when it says
// anything (Windows), otherwise the handle table's count (Wine answers 0).
// `fromTable` tells which one answered.
std::uint32_t GdiObjects(bool* fromTable = nullptr);

// Windows of the calling thread: its top-level windows and all their
// descendants.
std::uint32_t ThreadWindows();

// Bytes of address space that are committed and private (MEM_COMMIT,
// MEM_PRIVATE), summed over a walk of the whole address space.
std::uint64_t CommittedPrivateBytes();

// Bytes in busy blocks of every heap of the process (GetProcessHeaps, which
// includes the C runtime's heap and the shared runtime's), by HeapWalk.
std::uint64_t HeapBytesInUse();

} // namespace soak
