#pragma once
// Redirecting the functions that a loaded module imports by name: its
// import address table entry points at a replacement, and back at the
// original afterwards. ImportPatch stands in for one function (a host whose
// function lets an error out); the fault interposer (tests/faults) puts many
// in place through the same slot lookup.
#include "sharedrt/ImportSlot.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace testing_support {

using rt::ImportSlot;
using rt::FindImportSlot;
using rt::WriteImportSlot;

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
