#pragma once
// Tfrm_Custom, the base of every window of the module: it reads the host's
// context once at creation, follows the host's skin, sets up the input
// method of the host's edit controls, tells the host about itself (F1, its
// activation, its destruction) and obeys the host's close (1280) and
// skin-changed (1303) messages. Closing a module form destroys it.
#include "ui/HostNotices.h"
#include "sharedrt/Export.h"
#include "sharedrt/ValueLayout.h"
#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/ImageList.h"
#include "sharedrt/ui/Shape.h"
#include "sharedrt/ui/ToolBar.h"

#include <string>

namespace ui {

// What the host told the form at its creation. Windows, records, value
// objects and controls are the host's, borrowed for the form's life.
struct HostContext {
    rt::WindowHandle AppHandle = nullptr;
    rt::WindowHandle MainFrameHandle = nullptr;
    std::string AppPath;
    std::string SubAppPath;
    std::string SubAppCode;
    std::string FuncCode;  // the host function current when the form was created
    const WscbsSubAppInfo* SubAppInfo = nullptr;
    rt::DataVO* SubAppVo = nullptr;
    rt::DataVO* UserInfoVO = nullptr;
    rt::DataVO* CompanyInfoVO = nullptr;
    void* ParentForm = nullptr;
    void* MainFrameParentForm = nullptr;
};

class Tfrm_Custom : public rt::ui::Form {
public:
    // The form resource frm_Custom.
    Tfrm_Custom();
    ~Tfrm_Custom() override;

    const HostContext& Context() const noexcept { return context_; }

    // Font character set, size and colour, the form's and the tool bar's
    // colours from the host's skin, then the host's skin scheme for the
    // form's controls.
    virtual void ApplySkin();
    // Hooks the input method of every host edit the form owns.
    void HookEditIme();
    // Focus entry of a host edit: open (or Chinese) edits switch to the
    // user's configured input method, others to English.
    void EditImeHandler(rt::ui::Component& sender);

    rt::ui::Shape* Shape1 = nullptr;
    rt::ui::ToolBar* ModuleToolbar = nullptr;
    rt::ui::ImageList* ImageList1 = nullptr;

protected:
    // A derived form's resource: its own design size, caption, font and
    // window class; the base's components are added to it.
    explicit Tfrm_Custom(const rt::ui::FormArgs& resource);

    // LoadHostContext, ApplySkin, HookEditIme. Bound to OnCreate; a derived
    // form that has creation steps of its own runs it first.
    void FormCreate();
    // The twelve host calls, in this order.
    void LoadHostContext();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // After the toolkit's activation handling, the host's main window is
    // told to draw its title bar as active.
    void HandleActivate(WPARAM wParam, LPARAM lParam) override;

private:
    void BuildBaseResource();
    void TakeFocusFromOutside();

    HostContext context_;
    ModuleFormRegistration registration_{*this};
};

} // namespace ui
