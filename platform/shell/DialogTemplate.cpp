#include "shell/DialogTemplate.h"

#include <cstring>

namespace shell {
namespace {

constexpr UINT kCodePage = 936;
constexpr WORD kFontPoints = 9;

} // namespace

DialogTemplate::DialogTemplate(const std::string& title, short width, short height)
{
    DLGTEMPLATE header{};
    header.style = DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    header.cx = width;
    header.cy = height;
    words_.resize(sizeof header / sizeof(WORD));
    std::memcpy(words_.data(), &header, sizeof header);
    countIndex_ = offsetof(DLGTEMPLATE, cdit) / sizeof(WORD);
    AppendWord(0);  // no menu
    AppendWord(0);  // the standard dialog class
    AppendText(title);
    AppendWord(kFontPoints);
    AppendText("宋体");
}

void DialogTemplate::Add(Kind kind, WORD id, DWORD style, short x, short y, short width, short height,
                         const std::string& text)
{
    AlignTo(sizeof(DWORD));
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = width;
    item.cy = height;
    item.id = id;
    const std::size_t at = words_.size();
    words_.resize(at + sizeof item / sizeof(WORD));
    std::memcpy(words_.data() + at, &item, sizeof item);
    AppendWord(0xFFFF);
    AppendWord(static_cast<WORD>(kind));
    AppendText(text);
    AppendWord(0);  // no creation data
    ++words_[countIndex_];
}

INT_PTR DialogTemplate::Run(HWND owner, DLGPROC procedure, LPARAM parameter) const
{
    // The template must start on a DWORD boundary: copy it into DWORDs.
    std::vector<DWORD> aligned((words_.size() + 1) / 2);
    std::memcpy(aligned.data(), words_.data(), words_.size() * sizeof(WORD));
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(aligned.data()),
                                   owner, procedure, parameter);
}

void DialogTemplate::AppendWord(WORD value) { words_.push_back(value); }

void DialogTemplate::AppendText(const std::string& gbk)
{
    if (!gbk.empty()) {
        const int length = MultiByteToWideChar(kCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(kCodePage, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), length);
        for (wchar_t c : wide)
            words_.push_back(static_cast<WORD>(c));
    }
    words_.push_back(0);
}

void DialogTemplate::AlignTo(std::size_t boundary)
{
    while ((words_.size() * sizeof(WORD)) % boundary != 0)
        words_.push_back(0);
}

} // namespace shell
