#include "ui/LauncherPictures.h"

#include <windows.h>

namespace ui::pictures {

rt::ui::Bitmap Load(const char* name)
{
    // The pictures are resources of the module that holds this code.
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&Load), &self);
    return rt::ui::Bitmap::FromResource(self, name);
}

} // namespace ui::pictures
