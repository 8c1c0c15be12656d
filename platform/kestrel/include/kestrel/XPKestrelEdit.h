#pragma once
// TXPKestrelEdit: the edit box of the host's component package, a windowed
// control over the Windows EDIT class.
//
// What host and module use of it besides the text:
//   - the input-method mode (GetImeMode/SetImeMode: closed 1, open 2,
//     Chinese 9) and the input-method name (ImeName/SetImeName), applied
//     each time the edit receives the focus, after the focus-entry
//     notification ran;
//   - the focus-entry notification OnEnter, raised with the edit as sender
//     each time the edit receives the input focus. An empty OnEnter means
//     "no handler": `if (!edit->OnEnter) edit->OnEnter = ...;`
//
//   auto* edit = new kestrel::TXPKestrelEdit({
//       .control = {.owner = form, .parent = panel, .name = "edtName", .bounds = {10, 10, 120, 21}},
//       .text = "英语"});
#include "kestrel/KestrelExport.h"
#include "sharedrt/ui/WinControl.h"

#include <string>

namespace kestrel {

struct XPKestrelEditArgs {
    rt::ui::ControlArgs control; // colour defaults to the window colour; caption is ignored
    std::string text;            // GBK
    int maxLength = 0;           // 0: no limit beyond Windows' own
    bool readOnly = false;
    rt::ui::ImeMode imeMode = rt::ui::ImeMode::DontCare;
    std::string imeName;
};

class XPKESTREL_API TXPKestrelEdit : public rt::ui::WinControl {
public:
    explicit TXPKestrelEdit(const XPKestrelEditArgs& args);
    ~TXPKestrelEdit() override;

    // The text as it stands in the box now (typed text included).
    std::string Text() const;
    void SetText(const std::string& text);

    bool ReadOnly() const noexcept { return readOnly_; }
    void SetReadOnly(bool readOnly);
    int MaxLength() const noexcept { return maxLength_; }
    void SetMaxLength(int maxLength);

    // The text changed (by the user or by SetText).
    rt::ui::NotifyEvent OnChange;

protected:
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool readOnly_;
    int maxLength_;
};

} // namespace kestrel
