#pragma once
// Loads a DLL for a test and finds its exports by plain name.
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace testing_support {

class LoadedModule {
public:
    explicit LoadedModule(const char* fileName) : module_(LoadLibraryA(fileName)) {}

    bool Loaded() const { return module_.valid(); }
    HMODULE Handle() const { return module_.get(); }

    // The export `name` as a function of type Fn, or null.
    template <typename Fn>
    Fn Export(const char* name) const
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_.get(), name)));
    }

    // Unloads now; true when FreeLibrary succeeded.
    bool Unload() { return FreeLibrary(module_.release()) != FALSE; }

private:
    rt::unique_hmodule module_;
};

} // namespace testing_support
