// EmbedForm's branches that ShowFrmView does not take: a caption, the help
// option with a derived or given page, and the first option cleared.
#include "ui/EmbedForm.h"

#include "hostmodel/HostModel.h"
#include "shell/MainFrameWindow.h"
#include "sharedrt/AppObjects.h"
#include "sharedrt/ui/Panel.h"
#include "sharedrt/ui/UiDriver.h"

#include <gtest/gtest.h>

#include <cstdint>

using hostmodel::Model;
using namespace rt::ui;

namespace {

class EmbedFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        Model().Reset();
        host_ = CreateForm<shell::Tfrm_MainFrame>("host");
        host_->Show();
        Model().SetWindows(host_->Handle(), host_->Handle());
        rt::CurrentApplication()->SetHandle(host_->Handle());
        form_ = new Form({.control = {.bounds = {0, 0, 300, 200}, .caption = "before"}});
    }
    void TearDown() override
    {
        FreeComponent(host_);
        driver::ProcessMessages();
        rt::CurrentApplication()->SetHandle(nullptr);
        Model().Reset();
    }

    std::string Handle() const { return std::to_string(reinterpret_cast<std::uintptr_t>(form_->Handle())); }

    shell::Tfrm_MainFrame* host_ = nullptr;
    Form* form_ = nullptr;
};

} // namespace

TEST_F(EmbedFormTest, TheHelpOptionRegistersAPageNamedAfterTheHandleField)
{
    ui::EmbedForm(&host_->Container(), *form_, "ModalFormMsg=Query", false, "发票查询", "", true);
    EXPECT_EQ(form_->Parent(), &host_->Container());
    EXPECT_EQ(form_->Caption(), "发票查询");
    ASSERT_EQ(host_->CopyDataNotices().size(), 1u);
    EXPECT_EQ(host_->CopyDataNotices()[0].text, "Query|" + Handle() + "|1|0");
    EXPECT_EQ(Model().HelpPage(), Handle() + ".htm");
}

TEST_F(EmbedFormTest, AGivenHelpPageIsRegisteredAsItIsAndAnEmptyCaptionKeepsTheCaption)
{
    ui::EmbedForm(&host_->Container(), *form_, "a=1;ModalFormMsg=Query", true, "", "fpcx.htm", true);
    EXPECT_EQ(form_->Caption(), "before");
    EXPECT_EQ(Model().HelpPage(), "fpcx.htm");
    ASSERT_EQ(host_->CopyDataNotices().size(), 1u);
    EXPECT_EQ(host_->CopyDataNotices()[0].text, "Query|" + Handle() + "|1|1");
}

TEST_F(EmbedFormTest, WithoutModalFormMsgNeitherNoticeNorHelpPage)
{
    ui::EmbedForm(&host_->Container(), *form_, "ModalFormMsg=", true, "", "fpcx.htm", true);
    EXPECT_TRUE(IsWindowVisible(form_->Handle()));
    EXPECT_TRUE(host_->CopyDataNotices().empty());
    EXPECT_EQ(Model().HelpPage(), "");
}
