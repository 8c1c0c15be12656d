#pragma once
// The export table of a loaded module, read from its image as the loader
// reads it: every exported name, and the ordinals of functions exported
// without one.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testing_support {

struct ExportTable {
    std::vector<std::string> names;         // sorted
    std::vector<DWORD> ordinalsWithoutName; // ascending
};

inline ExportTable ReadExportTable(HMODULE module)
{
    ExportTable table;
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (directory.VirtualAddress == 0)
        return table;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* nameAddresses = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const auto* nameOrdinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
    std::vector<bool> named(exports->NumberOfFunctions, false);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        table.names.emplace_back(reinterpret_cast<const char*>(base + nameAddresses[i]));
        if (nameOrdinals[i] < named.size())
            named[nameOrdinals[i]] = true;
    }
    for (DWORD i = 0; i < exports->NumberOfFunctions; ++i)
        if (!named[i] && functions[i] != 0)
            table.ordinalsWithoutName.push_back(exports->Base + i);
    std::sort(table.names.begin(), table.names.end());
    return table;
}

} // namespace testing_support
