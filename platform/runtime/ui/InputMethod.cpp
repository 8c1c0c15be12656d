#include "InputMethod.h"

#include <imm.h>

#include <vector>

namespace rt::ui {

void ApplyInputMethod(HWND window, ImeMode mode, const std::string& name) noexcept
{
    if (!name.empty()) {
        const int count = GetKeyboardLayoutList(0, nullptr);
        std::vector<HKL> layouts(count > 0 ? count : 0);
        if (count > 0)
            GetKeyboardLayoutList(count, layouts.data());
        for (HKL layout : layouts) {
            char description[256] = {};
            if (ImmIsIME(layout) && ImmGetDescriptionA(layout, description, sizeof description - 1) > 0 &&
                name == description) {
                ActivateKeyboardLayout(layout, 0);
                break;
            }
        }
    }
    if (mode == ImeMode::DontCare)
        return;
    HIMC context = ImmGetContext(window);
    if (!context)
        return;
    const bool open = mode == ImeMode::Open || mode == ImeMode::Chinese;
    ImmSetOpenStatus(context, open ? TRUE : FALSE);
    if (mode == ImeMode::Chinese) {
        DWORD conversion = 0, sentence = 0;
        if (ImmGetConversionStatus(context, &conversion, &sentence))
            ImmSetConversionStatus(context, conversion | IME_CMODE_NATIVE, sentence);
    }
    ImmReleaseContext(window, context);
}

} // namespace rt::ui
