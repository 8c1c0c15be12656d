#pragma once
// What the library keeps from load to unload.
#include "sharedrt/AppObjects.h"

namespace module {

// Records the runtime's current application and screen objects (at process
// attach) and puts them back (at process detach). The handle that the entry
// points give the application object is not restored.
void RecordRuntimeObjects() noexcept;
void RestoreRuntimeObjects() noexcept;

// Makes `handle` the handle of the shared application object, so that every
// window the module creates is owned by the host's application window.
void AdoptApplicationHandle(rt::WindowHandle handle) noexcept;

} // namespace module
