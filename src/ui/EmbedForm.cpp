#include "ui/EmbedForm.h"

#include "host/HostServices.h"
#include "ui/HostNotices.h"
#include "util/ParamText.h"

#include <cstdint>

namespace ui {
namespace {

constexpr const char* kModalFormMsgName = "ModalFormMsg";
constexpr const char* kFieldSeparator = "|";

void EmbedIntoContainer(rt::ui::WinControl& container, rt::ui::Form& form, const std::string& paramText,
                        bool firstOption, const std::string& helpPage, bool help)
{
    form.EmbedInto(&container);

    const std::string modalFormMsg = util::ReadParamValueExact(paramText, kModalFormMsgName);
    if (modalFormMsg.empty())
        return;
    std::string notice =
        modalFormMsg + kFieldSeparator + std::to_string(reinterpret_cast<std::uintptr_t>(form.Handle()));
    if (help) {
        notice += std::string(kFieldSeparator) + "1";
        std::string page = helpPage;
        if (page.empty()) {
            // The page is named after the handle field of the notice.
            std::string copy = notice;
            host::FetchHeadstrTrim(true, kFieldSeparator, copy);
            page = host::FetchHeadstrTrim(false, kFieldSeparator, copy) + ".htm";
        }
        host::SetgsHelpHtml(page);
    } else {
        notice += std::string(kFieldSeparator) + "0";
    }
    notice += std::string(kFieldSeparator) + (firstOption ? "1" : "0");
    SendHostText(WSCBS_CD_FORM_SHOWN, notice);
}

} // namespace

void EmbedForm(rt::ui::WinControl* container, rt::ui::Form& form, const std::string& paramText, bool firstOption,
               const std::string& caption, const std::string& helpPage, bool help)
{
    if (!caption.empty())
        form.SetCaption(caption);
    // The host learns of a failed placing only by the missing notice.
    try {
        if (container) {
            EmbedIntoContainer(*container, form, paramText, firstOption, helpPage, help);
        } else {
            form.LeaveContainer();
            form.SetPosition(rt::ui::FormPosition::MainFormCenter);
            form.SetFormStyle(rt::ui::FormStyle::StayOnTop);
            form.Show();
        }
    } catch (...) {
    }
}

} // namespace ui
