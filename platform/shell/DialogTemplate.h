#pragma once
// A dialog box template built in memory, for the shell's small modal
// dialogs (no resource script needed). Texts are GBK.
#include <windows.h>

#include <string>
#include <vector>

namespace shell {

class DialogTemplate {
public:
    // Dialog units; the dialog is centred over its owner.
    DialogTemplate(const std::string& title, short width, short height);

    // Predefined control classes of Windows.
    enum class Kind : WORD { Button = 0x80, Edit = 0x81, Static = 0x82, ComboBox = 0x85 };
    void Add(Kind kind, WORD id, DWORD style, short x, short y, short width, short height,
             const std::string& text = {});

    // Runs the dialog modally; the dialog procedure gets `parameter` with
    // WM_INITDIALOG. Returns what EndDialog was given, or -1.
    INT_PTR Run(HWND owner, DLGPROC procedure, LPARAM parameter) const;

private:
    void AppendWord(WORD value);
    void AppendText(const std::string& gbk);
    void AlignTo(std::size_t boundary);

    std::vector<WORD> words_;
    std::size_t countIndex_;
};

} // namespace shell
