#include "kestrel/XPKestrelEdit.h"

#include <vector>

namespace kestrel {
namespace {

rt::ui::ControlArgs EditControlArgs(const XPKestrelEditArgs& args)
{
    rt::ui::ControlArgs control = args.control;
    control.caption = args.text;
    if (!control.color)
        control.color = rt::ui::kColorWindow;
    if (!control.cursor)
        control.cursor = rt::ui::Cursor::IBeam;
    return control;
}

rt::ui::WindowSpec EditSpec(const XPKestrelEditArgs& args)
{
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
    if (args.readOnly)
        style |= ES_READONLY;
    return rt::ui::WindowSpec{.className = "EDIT", .style = style, .exStyle = WS_EX_CLIENTEDGE, .systemClass = true};
}

} // namespace

TXPKestrelEdit::TXPKestrelEdit(const XPKestrelEditArgs& args)
    : WinControl(EditControlArgs(args), EditSpec(args)), readOnly_(args.readOnly), maxLength_(0)
{
    SetImeMode(args.imeMode);
    SetImeName(args.imeName);
    SetMaxLength(args.maxLength);
}

TXPKestrelEdit::~TXPKestrelEdit() = default;

std::string TXPKestrelEdit::Text() const
{
    if (!Handle())
        return Caption();
    const int length = GetWindowTextLengthA(Handle());
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextA(Handle(), buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? copied : 0);
}

void TXPKestrelEdit::SetText(const std::string& text)
{
    SetCaption(text);
    // The caption may already hold this text while the box holds typed text.
    if (Handle() && Text() != text)
        SetWindowTextA(Handle(), text.c_str());
}

void TXPKestrelEdit::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (Handle())
        SendMessageA(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TXPKestrelEdit::SetMaxLength(int maxLength)
{
    maxLength_ = maxLength < 0 ? 0 : maxLength;
    if (Handle())
        SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool TXPKestrelEdit::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        rt::ui::RunEvent(OnChange, *this);
        result = 0;
        return true;
    }
    return false;
}

} // namespace kestrel
