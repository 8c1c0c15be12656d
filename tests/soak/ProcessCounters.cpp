#include "soak/ProcessCounters.h"

#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace soak {
namespace {

// Where the PEB keeps the address of the GDI handle table.
#ifdef _WIN64
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;
#else
constexpr std::size_t kPebGdiSharedHandleTable = 0x94;
#endif

const GdiHandleEntry* GdiHandleTable()
{
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        basic.PebBaseAddress == nullptr)
        return nullptr;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const void* table = nullptr;
    std::memcpy(&table, peb + kPebGdiSharedHandleTable, sizeof table);
    return static_cast<const GdiHandleEntry*>(table);
}

// How many entries from `table` on lie in committed, readable memory.
std::size_t ReadableEntries(const GdiHandleEntry* table)
{
    const auto* begin = reinterpret_cast<const unsigned char*>(table);
    const auto* end = begin + kGdiHandleTableEntries * sizeof(GdiHandleEntry);
    const unsigned char* at = begin;
    while (at < end) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQuery(at, &region, sizeof region) == 0 || region.State != MEM_COMMIT ||
            (region.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0)
            break;
        at = static_cast<const unsigned char*>(region.BaseAddress) + region.RegionSize;
    }
    if (at > end)
        at = end;
    return static_cast<std::size_t>(at - begin) / sizeof(GdiHandleEntry);
}

bool OwnedByThisProcess(const GdiHandleEntry& entry, std::uint16_t processId)
{
    if (entry.type == 0 || (entry.extendedTypeAndStock & 0x80) != 0)
        return false;
    // Windows names the owner; Wine's table is the process's own and names
    // nobody.
    return entry.ownerProcessId == processId || entry.ownerProcessId == 0;
}

// The kinds of the table's extended type field.
std::string KindName(std::uint8_t extendedType)
{
    switch (extendedType) {
    case 0x01: return "dc";
    case 0x04: return "region";
    case 0x08: return "palette";
    case 0x09: return "bitmap";
    case 0x0a: return "font";
    case 0x10: return "brush";
    case 0x21: return "enhmetadc";
    case 0x26: return "metafile";
    case 0x30: return "pen";
    case 0x41: return "memdc";
    case 0x46: return "enhmetafile";
    case 0x50: return "extpen";
    case 0x66: return "metadc";
    default: return "type" + std::to_string(extendedType);
    }
}

BOOL CALLBACK CountChild(HWND, LPARAM counter)
{
    ++*reinterpret_cast<std::uint32_t*>(counter);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM counter)
{
    ++*reinterpret_cast<std::uint32_t*>(counter);
    EnumChildWindows(window, CountChild, counter);
    return TRUE;
}

} // namespace

std::optional<std::uint32_t> GdiObjectsInHandleTable()
{
    const GdiHandleEntry* table = GdiHandleTable();
    if (table == nullptr)
        return std::nullopt;
    const std::size_t entries = ReadableEntries(table);
    if (entries == 0)
        return std::nullopt;
    const auto processId = static_cast<std::uint16_t>(GetCurrentProcessId());
    std::uint32_t live = 0;
    for (std::size_t i = 0; i < entries; ++i)
        live += OwnedByThisProcess(table[i], processId);
    return live;
}

std::map<std::string, std::uint32_t> GdiObjectsByKind()
{
    std::map<std::string, std::uint32_t> kinds;
    const GdiHandleEntry* table = GdiHandleTable();
    if (table == nullptr)
        return kinds;
    const std::size_t entries = ReadableEntries(table);
    const auto processId = static_cast<std::uint16_t>(GetCurrentProcessId());
    for (std::size_t i = 0; i < entries; ++i)
        if (OwnedByThisProcess(table[i], processId))
            ++kinds[KindName(table[i].extendedTypeAndStock & 0x7f)];
    return kinds;
}

std::vector<GdiObject> GdiObjectsInTable()
{
    std::vector<GdiObject> objects;
    const GdiHandleEntry* table = GdiHandleTable();
    if (table == nullptr)
        return objects;
    const std::size_t entries = ReadableEntries(table);
    const auto processId = static_cast<std::uint16_t>(GetCurrentProcessId());
    for (std::size_t i = 0; i < entries; ++i) {
        const GdiHandleEntry& entry = table[i];
        if (!OwnedByThisProcess(entry, processId))
            continue;
        // A handle is its index with the entry's extended type and
        // generation above it.
        const auto unique = static_cast<std::uintptr_t>(entry.extendedTypeAndStock | (entry.generation << 8));
        const auto handle = reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(i) | (unique << 16));
        objects.push_back({handle, KindName(entry.extendedTypeAndStock & 0x7f)});
    }
    return objects;
}

std::string DescribeGdiObject(const GdiObject& object)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %p", object.kind.c_str(), object.handle);
    std::string description = text;
    COLORREF colour = CLR_INVALID;
    LOGBRUSH brush{};
    LOGPEN pen{};
    if (object.kind == "brush" && GetObjectA(object.handle, sizeof brush, &brush) == sizeof brush)
        colour = brush.lbColor;
    else if (object.kind == "pen" && GetObjectA(object.handle, sizeof pen, &pen) == sizeof pen)
        colour = pen.lopnColor;
    if (colour == CLR_INVALID)
        return description;
    std::snprintf(text, sizeof text, " #%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    description += text;
    std::string system;
    for (int index = 0; index <= COLOR_MENUBAR; ++index)
        if (GetSysColor(index) == colour)
            system += (system.empty() ? "" : ",") + std::to_string(index);
    if (!system.empty())
        description += " (system colour " + system + ")";
    return description;
}

std::uint32_t GdiObjects(bool* fromTable)
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) {
        if (fromTable)
            *fromTable = false;
        return reported;
    }
    if (fromTable)
        *fromTable = true;
    return GdiObjectsInHandleTable().value_or(0);
}

std::uint32_t ThreadWindows()
{
    std::uint32_t count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::uint64_t CommittedPrivateBytes()
{
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    auto* at = static_cast<const unsigned char*>(system.lpMinimumApplicationAddress);
    const auto* last = static_cast<const unsigned char*>(system.lpMaximumApplicationAddress);
    std::uint64_t committed = 0;
    while (at < last) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQuery(at, &region, sizeof region) == 0)
            break;
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += region.RegionSize;
        const auto* next = static_cast<const unsigned char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return committed;
}

std::uint64_t HeapBytesInUse()
{
    // Room for the heaps in one block that lives as long as the process, so
    // that a count does not change what it counts.
    static std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    while (count > heaps.size()) {
        heaps.resize(count + 16);
        count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    }
    std::uint64_t busy = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0)
                busy += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return busy;
}

} // namespace soak
