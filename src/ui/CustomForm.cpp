#include "ui/CustomForm.h"

#include "host/HostServices.h"
#include "kestrel/XPKestrelEdit.h"
#include "ui/HostNotices.h"

namespace ui {
namespace {

constexpr int kPointsPerInch = 72;
constexpr const char* kImeSection = "RunParameter";
constexpr const char* kImeKey = "SysIME";
constexpr const char* kImeDefault = "-请选择-";
constexpr const char* kEnglishImeName = "英语";

rt::ui::FormArgs CustomResource()
{
    return {.control = {.name = "frm_Custom",
                        .bounds = {0, 0, 542, 373},
                        .caption = "frm_Custom",
                        .font = rt::ui::Font{.face = "MS Sans Serif", .height = 11},
                        .color = rt::ui::kColorBtnFace},
            .className = "Tfrm_Custom",
            .keyPreview = true};
}

} // namespace

Tfrm_Custom::Tfrm_Custom() : Tfrm_Custom(CustomResource()) {}

Tfrm_Custom::Tfrm_Custom(const rt::ui::FormArgs& resource) : Form(resource)
{
    BuildBaseResource();
    OnCreate = [this](rt::ui::Component&) { FormCreate(); };
    OnClose = [](rt::ui::Component&, rt::ui::CloseAction& action) { action = rt::ui::CloseAction::Free; };
    OnDestroy = [this](rt::ui::Component&) { SendHostText(WSCBS_CD_FORM_CLOSED, context_.FuncCode); };
    OnKeyDown = [](rt::ui::Component&, std::uint16_t& key, rt::ui::ShiftState) {
        // The key goes on to the focused control.
        if (key == VK_F1)
            NotifyHost(WSCBS_MSG_HELP_REQUEST);
    };
}

Tfrm_Custom::~Tfrm_Custom() = default;

void Tfrm_Custom::BuildBaseResource()
{
    Shape1 = new rt::ui::Shape({.control = {.owner = this, .parent = this, .name = "Shape1",
                                            .bounds = {0, 0, Width(), 1}, .align = rt::ui::Align::Top,
                                            .visible = false},
                                .penColor = rt::ui::RgbHex(0x838383),
                                .brushClear = true});
    ImageList1 = new rt::ui::ImageList({.owner = this, .name = "ImageList1", .width = 24, .height = 24});
    ModuleToolbar = new rt::ui::ToolBar({.control = {.owner = this, .parent = this, .name = "ModuleToolbar",
                                                     .bounds = {0, 1, Width(), 26}, .align = rt::ui::Align::Top,
                                                     .caption = "ModuleToolbar",
                                                     .color = rt::ui::RgbHex(0xDAE8D8)},
                                         .buttonWidth = 85,
                                         .buttonHeight = 30,
                                         .flat = true,
                                         .list = true,
                                         .edgeBorders = false,
                                         .autoSize = true,
                                         .images = ImageList1});
    // What assistive technology calls the bar; its caption stays.
    ModuleToolbar->SetAccessibleName("模块工具栏");
}

void Tfrm_Custom::FormCreate()
{
    LoadHostContext();
    ApplySkin();
    HookEditIme();
}

void Tfrm_Custom::LoadHostContext()
{
    context_.AppHandle = host::AppHandle();
    context_.MainFrameHandle = host::MainFrameHandle();
    context_.AppPath = host::AppPath();
    context_.SubAppPath = host::CurSubAppPath();
    context_.SubAppCode = host::CurSubAppCode();
    context_.FuncCode = host::CurFuncCode();
    context_.SubAppInfo = host::CurSubAppInfo();
    context_.SubAppVo = host::CurSubAppVo();
    context_.UserInfoVO = host::UserInfoVO();
    context_.CompanyInfoVO = host::CompanyInfoVO();
    context_.ParentForm = host::CurParentForm();
    context_.MainFrameParentForm = host::MainFrameParentForm();
}

void Tfrm_Custom::ApplySkin()
{
    const host::SkinValues skin = host::Skin();
    rt::ui::Font font = GetFont();
    font.charset = static_cast<std::uint8_t>(skin.fontCharSet);
    // The host gives the size in points, for the form's screen; a size the
    // host has not set keeps the form's own.
    if (skin.fontSize > 0)
        font.height = MulDiv(skin.fontSize, PixelsPerInch(), kPointsPerInch);
    font.color = skin.fontColor;
    SetFont(font);
    SetColor(skin.moduleBackColor);
    ModuleToolbar->SetColor(skin.moduleToolBarColor);
    host::SetSkinSchemeCtrls(this);
}

void Tfrm_Custom::HookEditIme()
{
    for (rt::ui::Component* component : Components()) {
        auto* edit = dynamic_cast<kestrel::TXPKestrelEdit*>(component);
        if (edit == nullptr)
            continue;
        SetImeName("");
        if (!edit->OnEnter)
            edit->OnEnter = [this](rt::ui::Component& sender) { EditImeHandler(sender); };
    }
}

void Tfrm_Custom::EditImeHandler(rt::ui::Component& sender)
{
    auto* edit = dynamic_cast<kestrel::TXPKestrelEdit*>(&sender);
    if (edit == nullptr)
        return;
    const rt::ui::ImeMode mode = edit->GetImeMode();
    if (mode == rt::ui::ImeMode::Open || mode == rt::ui::ImeMode::Chinese) {
        edit->SetImeMode(rt::ui::ImeMode::Open);
        edit->SetImeName(host::UserConfigParam(kImeSection, kImeKey, kImeDefault));
    } else {
        edit->SetImeMode(rt::ui::ImeMode::Close);
        edit->SetImeName(kEnglishImeName);
    }
}

LRESULT Tfrm_Custom::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WSCBS_MSG_CLOSE_FORM) {
        Close();
        return 0;
    }
    if (message == WSCBS_MSG_SKIN_CHANGED) {
        ApplySkin();
        HookEditIme();
        return 0;
    }
    // A click anywhere on the form gives it the keyboard, so that its keys
    // (F1 among them) reach it; a control that takes the focus itself keeps
    // it. Clicks on child windows arrive as their parent notices.
    if (message == WM_LBUTTONDOWN || (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_LBUTTONDOWN))
        TakeFocusFromOutside();
    return Form::WindowProc(message, wParam, lParam);
}

void Tfrm_Custom::TakeFocusFromOutside()
{
    HWND self = Handle();
    HWND focus = GetFocus();
    if (self != nullptr && focus != self && !IsChild(self, focus))
        ::SetFocus(self);
}

void Tfrm_Custom::HandleActivate(WPARAM wParam, LPARAM lParam)
{
    Form::HandleActivate(wParam, lParam);
    if (HWND main = static_cast<HWND>(host::MainFrameHandle()))
        SendMessageA(main, WSCBS_WM_NCACTIVATE, WSCBS_NCACTIVATE_WPARAM, 0);
}

} // namespace ui
