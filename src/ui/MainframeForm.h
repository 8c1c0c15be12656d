#pragma once
// Tfrm_Mainframe, the launcher panel: the module's one view. Six picture
// buttons start the host functions of the tax-copy-and-report cycle, the top
// line shows the tax period with a link to change it, an optional button
// opens a configured web address and the bottom right shows the version.
// Captions, pictures and tool tips come from the sub-application's
// individuation parameters each time the panel becomes shown.
#include "sharedrt/ui/FlatPictureButton.h"
#include "sharedrt/ui/Image.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/Panel.h"
#include "ui/CustomForm.h"
#include "ui/LauncherRules.h"

#include <string>

namespace ui {

class Tfrm_Mainframe : public Tfrm_Custom {
public:
    // The form resource frm_Mainframe. Create it with rt::ui::CreateForm,
    // which runs FormCreate. With a container the form is made inside it,
    // ready for EmbedForm there (rt::ui::FormArgs::container).
    explicit Tfrm_Mainframe(rt::ui::WinControl* container = nullptr);
    ~Tfrm_Mainframe() override;

    // The period shown, as yyyymm.
    const std::string& PeriodText() const noexcept { return periodText_; }

    // Event handlers.
    void FormCreate();
    void FormShow();
    void FormResize();
    void sbtnBsClick();
    void sbtnClearCardClick();
    void sbtnGetStateClick();
    void sbtnfpcxClick();
    void sbtncbztClick();
    void sbtnQXBSClick();
    void Label_ggkjnyClick();
    void Label_urlClick();

    // Period, rights, version, captions, pictures, tool tips, arrows.
    void SetupPanel();
    // Bottom panel height from the form's height; background picture to the
    // bottom-right corner of the main area.
    void ArrangePanel();
    void PlaceBackground();

    rt::ui::Panel* Pnl_main = nullptr;
    rt::ui::Image* bg_img_up = nullptr;
    rt::ui::FlatPictureButton* sbtnBs = nullptr;
    rt::ui::FlatPictureButton* sbtncbzt = nullptr;
    rt::ui::FlatPictureButton* sbtnfpcx = nullptr;
    rt::ui::Label* Label_kjny = nullptr;
    rt::ui::Label* Label_ssqcap = nullptr;
    rt::ui::Label* Label_ggkjny = nullptr;
    rt::ui::FlatPictureButton* sbtnClearCard = nullptr;
    rt::ui::FlatPictureButton* sbtnGetState = nullptr;
    rt::ui::Image* Image12 = nullptr;
    rt::ui::Image* img_fpcj_arrow = nullptr;
    rt::ui::FlatPictureButton* sbtnQXBS = nullptr;
    rt::ui::Label* Label_url = nullptr;
    rt::ui::Image* img_fpcj_arrow2 = nullptr;
    rt::ui::FlatPictureButton* sbtn_url = nullptr;
    rt::ui::Panel* pnl_bottom = nullptr;
    rt::ui::Image* Image1 = nullptr;
    rt::ui::Label* Label_version = nullptr;

private:
    void BuildMainArea();
    void BuildBottomArea();
    void BindEvents();
    // Disables the button while its host function runs; enabled again also
    // when the launch raises (the error then goes on).
    void StartFromButton(rt::ui::FlatPictureButton& button, const ButtonKeys& keys);
    void ShowPeriod();
    // The picture of an individuation value: a file of the sub-application's
    // folder; a missing file leaves the picture as it is.
    void LoadPicture(rt::ui::FlatPictureButton& button, const std::string& value);

    std::string periodText_;
};

} // namespace ui
