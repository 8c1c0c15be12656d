#pragma once
// The reference shell's main window, of class "Tfrm_MainFrame": a tool bar
// of the shell, a container for a module's view, and a status line. It
// answers what a module sends its host's main window (copy-data notices,
// the help request, WM_NCACTIVATE) and keeps a record of each, and it can
// send a module view the host's close and skin-changed messages (the
// contract header, wscbs/wscbs.h, has them all).
#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/Panel.h"
#include "sharedrt/ui/ToolBar.h"
#include "wscbs/wscbs.h"

#include <functional>
#include <string>
#include <vector>

namespace shell {

// One WM_COPYDATA the window received.
struct CopyDataNotice {
    WPARAM sender = 0;      // wParam: the sender's application window
    ULONG_PTR kind = 0;     // dwData
    DWORD size = 0;         // cbData
    std::string text;       // the data up to its NUL (at most cbData bytes)
};

// The two parameters of a message the window received.
struct MessageParams {
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool operator==(const MessageParams&) const = default;
};

// The smallest client area of the container in which a module's launcher
// view is whole, without scroll bars, at `dpi` dots per inch: at 96, its
// six buttons' area (560 x 330: the last column and row start at 480 and
// 250, 80 wide and high), the module's tool bar (26) above it and the
// bottom panel's least height (60) below, 560 x 416; at other DPIs each of
// those lengths scaled and rounded on its own, as the view scales them.
SIZE ViewMinimumSize(int dpi) noexcept;

class Tfrm_MainFrame : public rt::ui::Form {
public:
    explicit Tfrm_MainFrame(const std::string& caption);
    ~Tfrm_MainFrame() override;

    // The control a module's view is embedded into.
    rt::ui::Panel& Container() const noexcept { return *pnlContainer_; }
    // The window of the form embedded in the container now, or null.
    HWND ViewWindow() const noexcept;
    // Sends `message` (wParam 0, lParam 0) to the embedded view; false when
    // there is none.
    bool SendToView(UINT message);

    void SetStatus(const std::string& text);
    const std::string& Status() const;

    const std::vector<CopyDataNotice>& CopyDataNotices() const noexcept { return copyData_; }
    int HelpRequests() const noexcept { return static_cast<int>(helpRequests_.size()); }
    const std::vector<MessageParams>& HelpRequestParams() const noexcept { return helpRequests_; }
    int NcActivations() const noexcept { return static_cast<int>(ncActivations_.size()); }
    const std::vector<MessageParams>& NcActivationParams() const noexcept { return ncActivations_; }
    void ClearRecords();

    // The tool bar's commands; each may be empty.
    std::function<void()> OnShowView;
    std::function<void()> OnChangeSkin;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void NoteCopyData(WPARAM sender, const COPYDATASTRUCT* record);
    void KeepViewWhole(MINMAXINFO& limits) const;

    rt::ui::ToolBar* toolbar_ = nullptr;
    rt::ui::Panel* pnlContainer_ = nullptr;
    rt::ui::Panel* pnlStatus_ = nullptr;
    rt::ui::Label* lblStatus_ = nullptr;
    std::vector<CopyDataNotice> copyData_;
    std::vector<MessageParams> helpRequests_;
    std::vector<MessageParams> ncActivations_;
};

} // namespace shell
