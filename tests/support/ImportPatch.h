#pragma once
// Redirects one function that a loaded module imports by name, for the
// life of the object: the module's import address table entry points at the
// replacement, and back at the original afterwards. Tests use it to stand
// in for a host whose function lets an error out.
#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace testing_support {

class ImportPatch {
public:
    ImportPatch(HMODULE module, const char* dllName, const char* functionName, void* replacement)
    {
        auto* base = reinterpret_cast<unsigned char*>(module);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
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
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), functionName) == 0) {
                    slot_ = &addresses->u1.Function;
                    original_ = *slot_;
                    Write(reinterpret_cast<decltype(original_)>(replacement));
                    return;
                }
            }
        }
        throw std::runtime_error(std::string("no import ") + dllName + "!" + functionName);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    ~ImportPatch() { Write(original_); }

    void* Original() const { return reinterpret_cast<void*>(original_); }

private:
    template <typename Value>
    void Write(Value value)
    {
        DWORD previous = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &previous);
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, previous, &previous);
    }

    decltype(IMAGE_THUNK_DATA::u1.Function)* slot_ = nullptr;
    decltype(IMAGE_THUNK_DATA::u1.Function) original_ = 0;
};

} // namespace testing_support
