#pragma once
// Redirecting the functions that a loaded module imports by name: its
// import address table entry points at a replacement, and back at the
// original afterwards. ImportPatch stands in for one function (a host whose
// function lets an error out); the fault interposer (tests/faults) puts many
// in place through the same slot lookup.
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace testing_support {

using ImportSlot = decltype(IMAGE_THUNK_DATA::u1.Function);

// The import address table entry through which `module` calls
// `dllName`!`functionName` (DLL name compared ignoring case); null when the
// module does not import it by name.
inline ImportSlot* FindImportSlot(HMODULE module, const char* dllName, const char* functionName)
{
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return nullptr;
    for (auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (_stricmp(reinterpret_cast<const char*>(base + import->Name), dllName) != 0)
            continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk));
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), functionName) == 0)
                return &addresses->u1.Function;
        }
    }
    return nullptr;
}

// Points an import slot at `value` (the table may be read-only).
inline void WriteImportSlot(ImportSlot* slot, ImportSlot value)
{
    DWORD previous = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
}

class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* dllName, const char* functionName, void* replacement)
        : slot_(FindImportSlot(module, dllName, functionName))
    {
        if (slot_ == nullptr)
            throw std::runtime_error(std::string("no import ") + dllName + "!" + functionName);
        original_ = *slot_;
        WriteImportSlot(slot_, reinterpret_cast<ImportSlot>(replacement));
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    ~ImportPatch() { WriteImportSlot(slot_, original_); }

    void* Original() const { return reinterpret_cast<void*>(original_); }

private:
    ImportSlot* slot_ = nullptr;
    ImportSlot original_ = 0;
};

} // namespace testing_support
