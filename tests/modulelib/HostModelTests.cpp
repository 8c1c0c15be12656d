// The host model through its configuration interface and the context
// services the module calls.
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "sharedrt/SharedHeap.h"
#include "support/ExportTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using hostmodel::Model;
using testing::ElementsAre;

namespace {

int g_destroyed = 0;

struct Tracked : rt::RtObject {
    ~Tracked() override { ++g_destroyed; }
};

rt::TParamValue* ObjectCell(rt::RtObject* object)
{
    rt::TParamValue* cell = rt::NewParamValue();
    cell->ObjectValue = object;
    return cell;
}

rt::TParamValue* PointerCell(void* pointer)
{
    rt::TParamValue* cell = rt::NewParamValue();
    cell->PointerValue = pointer;
    return cell;
}

std::string Text(void (__stdcall* service)(rt::RtString*))
{
    rt::RtString result("stale");
    service(&result);
    return result.ToStdString();
}

class HostModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        Model().Reset();
        g_destroyed = 0;
    }
    void TearDown() override { Model().Reset(); }

    static void AddWscbs()
    {
        hostmodel::SubAppSetup setup;
        setup.code = "WSCBS";
        setup.caption = "网上抄报税";
        setup.folder = "C:\\Apps\\WSCBS";
        setup.version = "2.0.1";
        setup.individuation = {{"Caption_BS", "抄税"}, {"ThirdUrl", ""}};
        Model().AddSubApp(setup);
        Model().SetCurrentSubApp("wscbs");
    }
};

TEST_F(HostModelTest, ResetDestroysValueObjectsWithOwnedObjectsButLeavesPointedMemory)
{
    AddWscbs();
    void* borrowed = rt::SharedHeap::Alloc(16);
    Model().SetValue(Model().CompanyVo(), "Object", rt::ParamType::Object, ObjectCell(new Tracked));
    Model().SetValue(*GetCurSubAppVo(), "Global_Errlist", rt::ParamType::Pointer, PointerCell(borrowed));
    Model().SetValue(Model().UserVo(), "Session", rt::ParamType::Object, ObjectCell(new Tracked));
    rt::RtString kept("shared with the item");
    rt::TParamValue* text = rt::NewParamValue();
    text->StringValue = kept;
    Model().SetValue(Model().CompanyVo(), "QYMC", rt::ParamType::String, text);
    ASSERT_EQ(kept.RefCount(), 2);

    Model().Reset();

    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(kept.RefCount(), 1);
    EXPECT_TRUE(rt::SharedHeap::Owns(borrowed));
    EXPECT_EQ(GetCurSubAppVo(), nullptr);
    EXPECT_EQ(GetCompanyInfoVO()->Items->Count(), 0);
    rt::SharedHeap::Free(borrowed);
}

TEST_F(HostModelTest, ReplacingItemsKeepsPlaceAndNameAndReleasesOnlyOwnedObjects)
{
    rt::DataVO& vo = Model().CompanyVo();
    Model().SetString(vo, "QYSBH", "330106999900017");
    auto* object = new Tracked;
    Model().SetValue(vo, "Card", rt::ParamType::Object, ObjectCell(object));
    Model().SetValue(vo, "CARD", rt::ParamType::Object, ObjectCell(object));
    EXPECT_EQ(g_destroyed, 0) << "the same object set again stays alive";
    Model().SetString(vo, "card", "no object any more");
    EXPECT_EQ(g_destroyed, 1);

    Model().SetString(vo, "qysbh", "330106999900025");
    ASSERT_EQ(vo.Items->Count(), 2);
    const auto* first = static_cast<const rt::ParamItem*>(vo.Items->Get(0));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first->Name + 1), first->Name[0]), "QYSBH");
    EXPECT_EQ(Model().GetString(vo, "QySbH"), "330106999900025");
    EXPECT_EQ(Model().GetString(vo, "ZONECODE"), std::nullopt);

    EXPECT_THROW(Model().SetString(vo, std::string(256, 'N'), "x"), rt::Error);
    Model().SetString(vo, std::string(255, 'N'), "longest name");
    EXPECT_EQ(Model().GetString(vo, std::string(255, 'n')), "longest name");
}

TEST_F(HostModelTest, SubApplicationServicesAnswerFromTheCurrentSubApplication)
{
    EXPECT_EQ(Text(GetCurSubAppCode), "");
    EXPECT_EQ(GetCurSubAppInfo(), nullptr);
    AddWscbs();

    EXPECT_EQ(Text(GetCurSubAppCode), "WSCBS");
    EXPECT_EQ(Text(GetCurSubAppPath), "C:\\Apps\\WSCBS\\");
    rt::RtString path;
    GetSubAppPath("Wscbs", &path);
    EXPECT_EQ(path, "C:\\Apps\\WSCBS\\");
    GetSubAppPath("OTHER", &path);
    EXPECT_TRUE(path.Empty());

    const auto* record = reinterpret_cast<const std::uint8_t*>(GetCurSubAppInfo());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 257), record[256]), "2.0.1");
    EXPECT_EQ(GetpSubAppInfo("wscbs"), GetCurSubAppInfo());
    EXPECT_EQ(GetpSubAppInfo("OTHER"), nullptr);
    EXPECT_EQ(GetCurSubAppVo(), Model().SubAppVo("WSCBS"));
    EXPECT_THROW(Model().SetCurrentSubApp("OTHER"), rt::Error);

    Model().SetAppPath("C:\\Host");
    Model().SetCurrentFunction("WSCBS004-00-01");
    EXPECT_EQ(Text(GetAppPath), "C:\\Host\\");
    EXPECT_EQ(Text(GetCurFuncCode), "WSCBS004-00-01");
}

TEST_F(HostModelTest, ParametersFallBackToTheCallersDefault)
{
    AddWscbs();
    Model().SetUserConfig("RunParameter", "SysIME", "微软拼音");
    rt::RtString value;
    GetSubAppIndividuationParam("WSCBS", "caption_bs", "网上抄税", &value);
    EXPECT_EQ(value, "抄税");
    GetSubAppIndividuationParam("WSCBS", "ThirdUrl", "none", &value);
    EXPECT_EQ(value, "none") << "an empty value is no value";
    GetSubAppIndividuationParam("OTHER", "Caption_BS", "网上抄税", &value);
    EXPECT_EQ(value, "网上抄税");
    GetSubAppIndividuationParam("WSCBS", "Hint_BS", nullptr, &value);
    EXPECT_TRUE(value.Empty());

    GetUserConfigParam("runparameter", "SYSIME", "-请选择-", &value);
    EXPECT_EQ(value, "微软拼音");
    GetUserConfigParam("RunParameter", "Other", "-请选择-", &value);
    EXPECT_EQ(value, "-请选择-");
}

TEST_F(HostModelTest, RightsWindowsAndSkinAreAsConfigured)
{
    Model().AllowFunction("WSCBS004-00-03");
    Model().AllowFunction("WSCBS003-01");
    Model().DenyFunction("WSCBS003-01");
    EXPECT_EQ(CheckFunctionCanUse("wscbs004-00-03"), 1);
    EXPECT_EQ(CheckFunctionCanUse("WSCBS003-01"), 0);
    EXPECT_EQ(CheckFunctionCanUse(nullptr), 0);
    // A trail byte is part of its character, never a letter: 癮 (B0 61) is
    // allowed, 癆 (B0 41) is another code.
    Model().AllowFunction("WSCBS癮");
    EXPECT_EQ(CheckFunctionCanUse("wscbs癮"), 1);
    EXPECT_EQ(CheckFunctionCanUse("WSCBS癆"), 0);

    int app = 0, frame = 0, parent = 0, mainParent = 0;
    EXPECT_EQ(GetMainFrameHandle(), nullptr);
    Model().SetWindows(&app, &frame);
    Model().SetParentForms(&parent, &mainParent);
    EXPECT_EQ(GetAppHandle(), &app);
    EXPECT_EQ(GetMainFrameHandle(), &frame);
    EXPECT_EQ(GetCurParentForm(), &parent);
    EXPECT_EQ(GetgsMainFrameParentForm(), &mainParent);

    EXPECT_EQ(giSysFontCharSet(), 134);
    hostmodel::Skin skin;
    skin.fontColor = 0x112233;
    skin.moduleBackColor = 0x445566;
    skin.moduleToolBarColor = 0x778899;
    skin.fontSize = 11;
    skin.fontCharSet = 1;
    Model().SetSkin(skin);
    EXPECT_EQ(gclSysFontColor(), 0x112233u);
    EXPECT_EQ(gclModuleBackColor(), 0x445566u);
    EXPECT_EQ(gclModuleToolBarColor(), 0x778899u);
    EXPECT_EQ(giSysFontSize(), 11);
    EXPECT_EQ(giSysFontCharSet(), 1);
    SetSkinSchemeCtrls(&parent);
    SetgsHelpHtml("wscbs.htm");
    EXPECT_THAT(Model().SkinnedForms(), ElementsAre(&parent));
    EXPECT_EQ(Model().HelpPage(), "wscbs.htm");
}

TEST_F(HostModelTest, FetchHeadstrTrimSplitsAtTheFirstSeparatorOnly)
{
    rt::RtString text("  报税 | 1234|0|1");
    rt::RtString head;
    FetchHeadstrTrim(1, "|", &text, &head);
    EXPECT_EQ(head, "报税");
    EXPECT_EQ(text, " 1234|0|1");
    FetchHeadstrTrim(0, "|", &text, &head);
    EXPECT_EQ(head, "1234");
    EXPECT_EQ(text, " 1234|0|1");

    // The second byte of 亅 is '|': it is no separator.
    text = std::string_view("亅a|b");
    FetchHeadstrTrim(1, "|", &text, &head);
    EXPECT_EQ(head, "亅a");
    EXPECT_EQ(text, "b");

    FetchHeadstrTrim(1, "|", &text, &head);
    EXPECT_EQ(head, "b");
    EXPECT_TRUE(text.Empty()) << "no separator: the whole text is the head";
    FetchHeadstrTrim(1, nullptr, nullptr, &head);
    EXPECT_TRUE(head.Empty());
}

TEST_F(HostModelTest, CallLogNamesEveryServiceWithArgumentsAndResult)
{
    AddWscbs();
    rt::RtString value;
    GetSubAppIndividuationParam("WSCBS", "Caption_BS", "网上抄税", &value);
    CheckFunctionCanUse("WSCBS004-00-03");
    GetCurSubAppVo();
    GetCurSubAppCode(nullptr);

    const auto& calls = Model().Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(hostmodel::FormatCall(calls[0]),
              "GetSubAppIndividuationParam(\"WSCBS\", \"Caption_BS\", \"网上抄税\") -> \"抄税\"");
    EXPECT_EQ(hostmodel::FormatCall(calls[1]), "CheckFunctionCanUse(\"WSCBS004-00-03\") -> 0");
    EXPECT_EQ(hostmodel::FormatCall(calls[2]), "GetCurSubAppVo() -> VO(WSCBS)");
    EXPECT_EQ(hostmodel::FormatCall(calls[3]), "GetCurSubAppCode() -> \"WSCBS\"");

    Model().ClearRecords();
    EXPECT_TRUE(Model().Calls().empty());
    EXPECT_EQ(Text(GetCurSubAppCode), "WSCBS") << "clearing records keeps the configuration";
}

} // namespace

TEST(ModuleLibExports, TheContractsServicesAreTheOnlyNamesAndTheModelIsReachedByOrdinal)
{
    const HMODULE library = GetModuleHandleA("ModuleLib.dll");
    ASSERT_NE(library, nullptr);
    const testing_support::ExportTable table = testing_support::ReadExportTable(library);
#define CONTRACT_SERVICE_NAME_(result, name, parameters) #name,
    std::vector<std::string> services = {WSCBS_HOST_SERVICES(CONTRACT_SERVICE_NAME_)};
#undef CONTRACT_SERVICE_NAME_
    std::sort(services.begin(), services.end());
    EXPECT_EQ(table.names, services);
    EXPECT_THAT(table.ordinalsWithoutName, ElementsAre(100u));
}
