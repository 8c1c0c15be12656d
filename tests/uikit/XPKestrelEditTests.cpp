#include "UiTestSupport.h"

#include "kestrel/XPKestrelEdit.h"

using namespace rt::ui;
using kestrel::TXPKestrelEdit;

static_assert(static_cast<int>(ImeMode::Close) == 1);
static_assert(static_cast<int>(ImeMode::Open) == 2);
static_assert(static_cast<int>(ImeMode::Chinese) == 9);

namespace {

class XPKestrelEditTests : public uitest::CanvasTest {
protected:
    TXPKestrelEdit* AddEdit(std::string name, int top)
    {
        return new TXPKestrelEdit({.control = {.owner = form_, .parent = canvas_, .name = std::move(name),
                                               .bounds = {10, top, 150, 21}},
                                   .text = "英语"});
    }
};

} // namespace

TEST_F(XPKestrelEditTests, FocusEntryIsRaisedWithTheEditEachTimeItGetsTheFocus)
{
    auto* first = AddEdit("edtFirst", 10);
    auto* second = AddEdit("edtSecond", 40);
    EXPECT_FALSE(first->OnEnter);
    std::vector<Component*> entered;
    first->OnEnter = [&](Component& sender) { entered.push_back(&sender); };
    EXPECT_TRUE(first->OnEnter);

    first->SetFocus();
    second->SetFocus();
    first->SetFocus();
    EXPECT_EQ(entered, (std::vector<Component*>{first, first}));
    EXPECT_EQ(form_->ActiveControl(), first);

    // The form finds its edits among the components it owns, by class.
    int edits = 0;
    for (Component* component : form_->Components())
        if (dynamic_cast<TXPKestrelEdit*>(component))
            ++edits;
    EXPECT_EQ(edits, 2);
}

TEST_F(XPKestrelEditTests, EntryHandlerCanSetTheInputMethodBeforeItIsApplied)
{
    auto* edit = AddEdit("edtName", 10);
    edit->SetImeMode(ImeMode::Chinese);
    edit->OnEnter = [](Component& sender) {
        auto* target = dynamic_cast<TXPKestrelEdit*>(&sender);
        ASSERT_NE(target, nullptr);
        if (target->GetImeMode() == ImeMode::Open || target->GetImeMode() == ImeMode::Chinese) {
            target->SetImeMode(ImeMode::Open);
            target->SetImeName("-请选择-");
        } else {
            target->SetImeMode(ImeMode::Close);
            target->SetImeName("英语");
        }
    };
    edit->SetFocus();
    EXPECT_EQ(edit->GetImeMode(), ImeMode::Open);
    EXPECT_EQ(edit->ImeName(), "-请选择-");
    EXPECT_TRUE(errors_.Messages().empty());
}

TEST_F(XPKestrelEditTests, TextIsGbkAndKeysReachTheEditAfterTheFormsPreview)
{
    auto* edit = AddEdit("edtName", 10);
    EXPECT_EQ(edit->Text(), "英语");
    std::vector<std::string> changes;
    edit->OnChange = [&](Component&) { changes.push_back(edit->Text()); };
    edit->SetText("纳税人识别号");
    EXPECT_EQ(changes, (std::vector<std::string>{"纳税人识别号"}));

    int previews = 0;
    form_->SetKeyPreview(true);
    form_->OnKeyDown = [&](Component&, std::uint16_t& key, ShiftState) {
        if (key == VK_F1)
            ++previews;
    };
    edit->SetFocus();
    SendMessageA(edit->Handle(), EM_SETSEL, 0, 0);
    driver::PressKey(edit->Handle(), VK_F1);
    EXPECT_EQ(previews, 1);
    driver::PressKey(edit->Handle(), VK_DELETE);
    EXPECT_EQ(edit->Text(), "税人识别号");

    edit->SetReadOnly(true);
    driver::PressKey(edit->Handle(), VK_DELETE);
    EXPECT_EQ(edit->Text(), "税人识别号");
}
