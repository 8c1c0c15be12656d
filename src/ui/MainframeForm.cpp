#include "ui/MainframeForm.h"

#include "host/HostServices.h"
#include "ui/HostFunctionLauncher.h"
#include "ui/IcCardTableMigration.h"
#include "ui/LauncherPictures.h"
#include "ui/PeriodSource.h"
#include "util/FileUtil.h"

#include <shellapi.h>

#include <algorithm>

namespace ui {
namespace {

using rt::ui::Align;
using rt::ui::Bounds;
using rt::ui::Font;
using rt::ui::RgbHex;

constexpr rt::ui::Color kMainAreaColor = RgbHex(0xF4F9FE);
constexpr rt::ui::Color kBottomAreaColor = RgbHex(0xEFF4F8);
constexpr rt::ui::Color kHighlightBlue = RgbHex(0x0845B0);
constexpr rt::ui::Color kLinkOrange = RgbHex(0xFF6600);

Font Song(int height)
{
    return Font{.face = "宋体", .height = height, .charset = rt::ui::kGb2312Charset};
}

constexpr int kDesignedArrowLeft = 228;
// The main area's designed width: the background's designed place is its
// right edge then.
constexpr int kDesignedMainWidth = 789;

rt::ui::FormArgs MainframeResource(rt::ui::WinControl* container)
{
    return {.control = {.name = "frm_Mainframe", .bounds = {0, 0, 797, 561}, .caption = "frm_Mainframe",
                        .font = Song(12)},
            .className = "Tfrm_Mainframe",
            .keyPreview = true,
            .container = container};
}

} // namespace

Tfrm_Mainframe::Tfrm_Mainframe(rt::ui::WinControl* container) : Tfrm_Custom(MainframeResource(container))
{
    BuildBottomArea();
    BuildMainArea();
    BindEvents();
    // What assistive technology calls the view; its caption stays.
    SetAccessibleName("网上抄报税");
}

Tfrm_Mainframe::~Tfrm_Mainframe() = default;

void Tfrm_Mainframe::BuildMainArea()
{
    Pnl_main = new rt::ui::Panel({.control = {.owner = this, .parent = this, .name = "Pnl_main",
                                              .bounds = {0, 27, 789, 365}, .align = Align::Client,
                                              .color = kMainAreaColor},
                                  .bevelOuter = rt::ui::Bevel::None,
                                  .showCaption = false,
                                  .autoScroll = true});
    // A caption wider than its button wraps, the button growing downwards.
    auto button = [this](const char* name, Bounds bounds, const char* caption, const char* picture) {
        return new rt::ui::FlatPictureButton({.control = {.owner = this, .parent = Pnl_main, .name = name,
                                                          .bounds = bounds, .caption = caption},
                                              .glyph = pictures::Load(picture),
                                              .growToFit = true});
    };
    auto image = [this](const char* name, Bounds bounds, const char* picture, bool transparent) {
        return new rt::ui::Image({.control = {.owner = this, .parent = Pnl_main, .name = name, .bounds = bounds},
                                  .picture = pictures::Load(picture),
                                  .transparent = transparent});
    };
    auto label = [this](const char* name, Bounds bounds, const char* caption, Font font, bool link = false) {
        return new rt::ui::Label({.control = {.owner = this, .parent = Pnl_main, .name = name, .bounds = bounds,
                                              .caption = caption, .font = font},
                                  .transparent = true,
                                  .link = link});
    };

    // In paint order: the first is drawn beneath all others.
    bg_img_up = new rt::ui::Image({.control = {.owner = this, .parent = Pnl_main, .name = "bg_img_up",
                                               .bounds = {340, 47, 447, 322},
                                               .anchors = rt::ui::kAnchorRight | rt::ui::kAnchorBottom},
                                   .picture = pictures::Load(pictures::kBackground),
                                   .autoSize = true,
                                   .decorative = true});
    sbtnBs = button("sbtnBs", {130, 98, 80, 80}, "网上抄税", pictures::kOnlineCopy);
    sbtncbzt = button("sbtncbzt", {362, 250, 80, 80}, "抄报状态", pictures::kReportStatus);
    sbtnfpcx = button("sbtnfpcx", {480, 250, 80, 80}, "发票查询", pictures::kInvoiceQuery);
    Font periodFont = Song(13);
    periodFont.bold = true;
    periodFont.color = kHighlightBlue;
    Label_kjny = label("Label_kjny", {140, 12, 76, 13}, "2007年03月", periodFont);
    Label_ssqcap = label("Label_ssqcap", {40, 13, 96, 12}, "当前税款所属期：", Song(12));
    Font linkFont = Song(12);
    linkFont.underline = true;
    linkFont.color = kLinkOrange;
    Label_ggkjny = label("Label_ggkjny", {229, 13, 24, 12}, "更改", linkFont, true);
    Label_ggkjny->SetCursor(rt::ui::Cursor::Hand);
    sbtnClearCard = button("sbtnClearCard", {480, 98, 80, 80}, "清  卡  ", pictures::kClearCard);
    sbtnGetState = button("sbtnGetState", {130, 250, 80, 80}, "获取状态", pictures::kGetState);
    Image12 = image("Image12", {15, 13, 12, 12}, pictures::kPeriodIcon, false);
    img_fpcj_arrow = image("img_fpcj_arrow", {kDesignedArrowLeft, 127, 49, 20}, pictures::kArrow, true);
    sbtnQXBS = button("sbtnQXBS", {245, 250, 80, 80}, "取消抄税", pictures::kCancelCopy);
    Label_url = new rt::ui::Label({.control = {.owner = this, .parent = Pnl_main, .name = "Label_url",
                                               .bounds = {128, 344, 72, 13}, .visible = false,
                                               .caption = "Label_url"}});
    img_fpcj_arrow2 = image("img_fpcj_arrow2", {404, 127, 49, 20}, pictures::kArrow, true);
    sbtn_url = button("sbtn_url", {301, 98, 80, 80}, "", pictures::kLink);
}

void Tfrm_Mainframe::BuildBottomArea()
{
    pnl_bottom = new rt::ui::Panel({.control = {.owner = this, .parent = this, .name = "pnl_bottom",
                                                .bounds = {0, 392, 789, 135}, .align = Align::Bottom,
                                                .font = Song(12), .color = kBottomAreaColor},
                                    .bevelOuter = rt::ui::Bevel::None,
                                    .showCaption = false});
    Image1 = new rt::ui::Image({.control = {.owner = this, .parent = pnl_bottom, .name = "Image1",
                                            .bounds = {0, 0, 789, 5}, .align = Align::Top},
                                .picture = pictures::Load(pictures::kStrip),
                                .stretch = true,
                                .decorative = true});
    Font versionFont = Song(13);
    versionFont.color = kHighlightBlue;
    Label_version = new rt::ui::Label({.control = {.owner = this, .parent = pnl_bottom, .name = "Label_version",
                                                   .bounds = {640, 90, 91, 13},
                                                   .anchors = rt::ui::kAnchorRight | rt::ui::kAnchorBottom,
                                                   .caption = "Label_version", .font = versionFont}});
}

void Tfrm_Mainframe::BindEvents()
{
    OnCreate = [this](rt::ui::Component&) { FormCreate(); };
    OnShow = [this](rt::ui::Component&) { FormShow(); };
    OnResize = [this](rt::ui::Component&) { FormResize(); };
    // Scroll bars coming or going change the main area's visible size.
    Pnl_main->OnResize = [this](rt::ui::Component&) { PlaceBackground(); };
    sbtnBs->OnClick = [this](rt::ui::Component&) { sbtnBsClick(); };
    sbtnClearCard->OnClick = [this](rt::ui::Component&) { sbtnClearCardClick(); };
    sbtnGetState->OnClick = [this](rt::ui::Component&) { sbtnGetStateClick(); };
    sbtnfpcx->OnClick = [this](rt::ui::Component&) { sbtnfpcxClick(); };
    sbtncbzt->OnClick = [this](rt::ui::Component&) { sbtncbztClick(); };
    sbtnQXBS->OnClick = [this](rt::ui::Component&) { sbtnQXBSClick(); };
    Label_ggkjny->OnClick = [this](rt::ui::Component&) { Label_ggkjnyClick(); };
    Label_url->OnClick = [this](rt::ui::Component&) { Label_urlClick(); };
    sbtn_url->OnClick = [this](rt::ui::Component&) { Label_urlClick(); };
}

void Tfrm_Mainframe::FormCreate()
{
    Tfrm_Custom::FormCreate();
    AlterIcCardColumns();
}

void Tfrm_Mainframe::FormShow()
{
    SetupPanel();
    std::string text;
    RunHostFunction(Parent(), FunctionCode(host::CurSubAppCode(), kSuffixPanelShown), text);
}

void Tfrm_Mainframe::FormResize() { ArrangePanel(); }

void Tfrm_Mainframe::sbtnBsClick() { StartFromButton(*sbtnBs, kOnlineCopyKeys); }
void Tfrm_Mainframe::sbtnClearCardClick() { StartFromButton(*sbtnClearCard, kClearCardKeys); }
void Tfrm_Mainframe::sbtnGetStateClick() { StartFromButton(*sbtnGetState, kGetStateKeys); }
void Tfrm_Mainframe::sbtnfpcxClick() { StartFromButton(*sbtnfpcx, kInvoiceQueryKeys); }
void Tfrm_Mainframe::sbtncbztClick() { StartFromButton(*sbtncbzt, kReportStatusKeys); }
void Tfrm_Mainframe::sbtnQXBSClick() { StartFromButton(*sbtnQXBS, kCancelCopyKeys); }

void Tfrm_Mainframe::StartFromButton(rt::ui::FlatPictureButton& button, const ButtonKeys& keys)
{
    button.SetEnabled(false);
    try {
        std::string text;
        RunHostFunction(Parent(), FunctionCode(host::CurSubAppCode(), keys.functionSuffix), text);
    } catch (...) {
        button.SetEnabled(true);
        throw;
    }
    button.SetEnabled(true);
}

void Tfrm_Mainframe::Label_ggkjnyClick()
{
    std::string text;
    RunHostFunction(Parent(), FunctionCode(host::CurSubAppCode(), kSuffixChangePeriod), text);
    // The host function may have stored another period.
    ShowPeriod();
}

void Tfrm_Mainframe::Label_urlClick()
{
    const std::string address = host::SubAppIndividuationParam(host::CurSubAppCode(), std::string(kLinkAddressKey), "");
    if (!address.empty())
        ShellExecuteA(Handle(), "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Tfrm_Mainframe::ShowPeriod()
{
    periodText_ = CurrentPeriod();
    Label_kjny->SetCaption(FormatPeriod(periodText_));
}

void Tfrm_Mainframe::LoadPicture(rt::ui::FlatPictureButton& button, const std::string& value)
{
    if (value.empty())
        return;
    // Without the folder there is no picture to load.
    const std::string folder = host::CurSubAppPath();
    if (folder.empty())
        return;
    const std::string file = folder + value;
    if (util::FileExists(file))
        button.SetGlyph(rt::ui::Bitmap::FromFile(file));
}

void Tfrm_Mainframe::SetupPanel()
{
    ShowPeriod();

    const std::string code = host::CurSubAppCode();
    sbtnfpcx->SetVisible(host::CheckFunctionCanUse(FunctionCode(code, kSuffixInvoiceQuery)));
    sbtnQXBS->SetVisible(host::CheckFunctionCanUse(FunctionCode(code, kSuffixCancelCopy)));

    Label_version->SetCaption(VersionCaption(host::CurSubAppVersion()));

    auto param = [&code](std::string_view key, std::string_view defaultValue = {}) {
        return host::SubAppIndividuationParam(code, std::string(key), std::string(defaultValue));
    };
    const std::pair<rt::ui::FlatPictureButton*, const ButtonKeys*> buttons[] = {
        {sbtnBs, &kOnlineCopyKeys},     {sbtnClearCard, &kClearCardKeys},   {sbtnGetState, &kGetStateKeys},
        {sbtncbzt, &kReportStatusKeys}, {sbtnQXBS, &kCancelCopyKeys},       {sbtnfpcx, &kInvoiceQueryKeys},
    };
    for (const auto& [button, keys] : buttons) {
        button->SetCaption(param(keys->captionKey, keys->defaultCaption));
        LoadPicture(*button, param(keys->pictureKey));
    }

    const std::string linkTitle = param(kLinkTitleKey);
    const std::string linkAddress = param(kLinkAddressKey);
    const std::string linkPicture = param(kLinkPictureKey);
    sbtn_url->SetVisible(!linkAddress.empty());
    LoadPicture(*sbtn_url, linkPicture);
    sbtn_url->SetCaption(linkTitle);

    SetShowHint(true);
    sbtn_url->SetHint(param(kLinkHintKey));
    for (const auto& [button, keys] : buttons)
        button->SetHint(param(keys->hintKey));

    // The link's picture fills its designed button; a title goes under it,
    // the button growing downwards into the free row below (as every button
    // does whose caption needs it).

    // With the link the arrows stand in their designed places on either side
    // of it (also when an earlier show had moved them); without it one arrow
    // stands centred between the two buttons.
    const bool link = sbtn_url->Visible();
    img_fpcj_arrow2->SetVisible(link);
    img_fpcj_arrow->SetLeft(link ? Scaled(kDesignedArrowLeft)
                                 : SingleArrowLeft(sbtnBs->Left(), sbtnClearCard->Left(), sbtnClearCard->Width(),
                                                   img_fpcj_arrow->Width()));
}

void Tfrm_Mainframe::ArrangePanel()
{
    pnl_bottom->SetHeight(BottomPanelHeight(Height(), PixelsPerInch()));
    PlaceBackground();
}

// The bottom-right corner of the main area, or of its content when that is
// larger (scrolled); never further left than its designed place, so that a
// narrow window does not slide it under the buttons.
void Tfrm_Mainframe::PlaceBackground()
{
    const SIZE area = Pnl_main->ScrollArea();
    const int left = std::max<int>(area.cx - bg_img_up->Width(), Scaled(kDesignedMainWidth) - bg_img_up->Width());
    bg_img_up->SetBounds({left, area.cy - bg_img_up->Height(), bg_img_up->Width(), bg_img_up->Height()});
}

} // namespace ui
