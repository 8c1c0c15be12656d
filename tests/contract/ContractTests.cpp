// The contract header read by a C compiler and by the C++ side must be the
// same records; and the records the module really builds must read right
// through the header's C view, as a host written in C reads them.
#include "ContractFromC.h"

#include "startup/catalogue/ErrorRecordArray.h"
#include "host/ValueObject.h"
#include "sharedrt/RtPtrList.h"
#include "sharedrt/ValueLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// The header spells two Windows messages without <windows.h>.
static_assert(WSCBS_WM_COPYDATA == WM_COPYDATA);
static_assert(WSCBS_WM_NCACTIVATE == WM_NCACTIVATE);
#endif

// The numbers on the wire: hosts in the field answer these.
static_assert(WSCBS_MSG_CLOSE_FORM == 1280 && WSCBS_CD_FORM_SHOWN == 1282 && WSCBS_MSG_HELP_REQUEST == 1296 &&
              WSCBS_CD_FORM_CLOSED == 1302 && WSCBS_MSG_SKIN_CHANGED == 1303);

namespace {

struct Figure {
    const char* what;
    std::size_t value;
};

std::vector<Figure> SizesFromCpp()
{
    std::vector<Figure> figures;
#define CONTRACT_SIZE_(type) figures.push_back({"sizeof " #type, sizeof(type)});
    CONTRACT_SIZES(CONTRACT_SIZE_)
#undef CONTRACT_SIZE_
    return figures;
}

std::vector<Figure> OffsetsFromCpp()
{
    std::vector<Figure> figures;
#define CONTRACT_OFFSET_(type, field) figures.push_back({#type "." #field, offsetof(type, field)});
    CONTRACT_OFFSETS(CONTRACT_OFFSET_)
#undef CONTRACT_OFFSET_
    return figures;
}

std::vector<std::string> NamesFromC(const char* const* names)
{
    std::vector<std::string> result;
    for (; *names != nullptr; ++names)
        result.emplace_back(*names);
    return result;
}

#define CONTRACT_NAME_(result, name, parameters) #name,
const std::vector<std::string> kExports = {WSCBS_EXPORTS(CONTRACT_NAME_)};
const std::vector<std::string> kServices = {WSCBS_HOST_SERVICES(CONTRACT_NAME_)};
#undef CONTRACT_NAME_

const WscbsParamItem* ContractItem(const rt::DataVO& vo, int index)
{
    return static_cast<const WscbsParamItem*>(vo.Items->Get(index));
}

std::string ItemName(const WscbsParamItem* item)
{
    char name[256];
    contract_c_item_name(item, name);
    return name;
}

} // namespace

TEST(ContractHeader, CAndCppLayTheRecordsOutAlike)
{
    const std::vector<Figure> sizes = SizesFromCpp();
    for (std::size_t i = 0; i < sizes.size(); ++i)
        EXPECT_EQ(contract_sizes_from_c[i], sizes[i].value) << sizes[i].what;
    const std::vector<Figure> offsets = OffsetsFromCpp();
    for (std::size_t i = 0; i < offsets.size(); ++i)
        EXPECT_EQ(contract_offsets_from_c[i], offsets[i].value) << offsets[i].what;
}

TEST(ContractHeader, ListsNameEachFunctionOnceAndAlikeInCAndCpp)
{
    EXPECT_EQ(NamesFromC(contract_export_names_from_c), kExports);
    EXPECT_EQ(NamesFromC(contract_service_names_from_c), kServices);
    EXPECT_EQ(std::set<std::string>(kExports.begin(), kExports.end()).size(), 3u);
    EXPECT_EQ(std::set<std::string>(kServices.begin(), kServices.end()).size(), 30u);
}

TEST(ContractRecords, ACHostReadsTheCatalogueTheModuleBuilds)
{
    startup::ErrorRecordArray array;
    array.Assign({{70001005, "读卡器未连接", "1", "A7"}, {0, "", "0", "0"}, {-3, "第三条", "", "X"}});
    const auto* first = reinterpret_cast<const WscbsErrorMsg*>(array.First());

    ASSERT_EQ(contract_c_catalogue_count(first), 3);
    EXPECT_EQ(contract_c_record_seq_no(first, 0), 1);
    EXPECT_EQ(contract_c_record_code(first, 0), 70001005);
    EXPECT_STREQ(contract_c_record_message(first, 0), "读卡器未连接");
    EXPECT_EQ(contract_c_string_length(first[0].Msg), static_cast<std::int32_t>(std::strlen("读卡器未连接")));
    EXPECT_STREQ(contract_c_record_module_type(first, 0), "1");
    EXPECT_STREQ(contract_c_record_inside_code(first, 0), "A7");
    EXPECT_STREQ(contract_c_record_message(first, 1), "");
    const char* emptyMessage = first[1].Msg;  // a copy: the packed field is not aligned
    EXPECT_EQ(emptyMessage, nullptr) << "an empty text is a null string";
    EXPECT_EQ(contract_c_record_seq_no(first, 2), 3);
    EXPECT_EQ(contract_c_record_code(first, 2), -3);
    EXPECT_STREQ(contract_c_record_message(first, 2), "第三条");
    EXPECT_STREQ(contract_c_record_module_type(first, 2), "");
    EXPECT_STREQ(contract_c_record_inside_code(first, 2), "X");
    const unsigned char reservedByte = first[2].ReservedByte;
    EXPECT_EQ(reservedByte, 0);

    startup::ErrorRecordArray empty;
    empty.Assign({});
    EXPECT_EQ(contract_c_catalogue_count(reinterpret_cast<const WscbsErrorMsg*>(empty.First())), 0);
}

TEST(ContractRecords, ACHostReadsTheValueObjectItemsTheModuleWrites)
{
    auto vo = std::make_unique<rt::DataVO>();
    int borrowed = 0;
    host::SetString(vo.get(), "Global_curkjny", "202405");
    host::SetInteger(vo.get(), "Count", -7);
    host::SetBoolean(vo.get(), "Global_cbsreader", true);
    host::SetFloat(vo.get(), "Rate", 0.13);
    host::SetPointer(vo.get(), "Global_Errlist", &borrowed);
    host::SetString(vo.get(), "GLOBAL_CURKJNY", "202406");  // replaced in place

    ASSERT_EQ(vo->Items->Count(), 5);
    const WscbsParamItem* period = ContractItem(*vo, 0);
    EXPECT_EQ(ItemName(period), "Global_curkjny");
    EXPECT_EQ(contract_c_item_type(period), WSCBS_PARAM_STRING);
    EXPECT_STREQ(contract_c_item_string(period), "202406");

    const WscbsParamItem* count = ContractItem(*vo, 1);
    EXPECT_EQ(ItemName(count), "Count");
    EXPECT_EQ(contract_c_item_type(count), WSCBS_PARAM_INTEGER);
    EXPECT_EQ(contract_c_item_integer(count), -7);
    EXPECT_STREQ(contract_c_item_string(count), "") << "an integer cell's string stays empty";

    EXPECT_EQ(contract_c_item_type(ContractItem(*vo, 2)), WSCBS_PARAM_BOOLEAN);
    EXPECT_EQ(contract_c_item_boolean(ContractItem(*vo, 2)), 1);
    EXPECT_EQ(contract_c_item_type(ContractItem(*vo, 3)), WSCBS_PARAM_FLOAT);
    EXPECT_DOUBLE_EQ(contract_c_item_float(ContractItem(*vo, 3)), 0.13);
    EXPECT_EQ(contract_c_item_type(ContractItem(*vo, 4)), WSCBS_PARAM_POINTER);
    EXPECT_EQ(contract_c_item_pointer(ContractItem(*vo, 4)), &borrowed);
}

TEST(ContractRecords, AFullLengthNameFillsTheLengthPrefixedField)
{
    auto vo = std::make_unique<rt::DataVO>();
    const std::string name(255, 'N');
    host::SetInteger(vo.get(), name, 1);
    const WscbsParamItem* item = ContractItem(*vo, 0);
    EXPECT_EQ(item->Name[0], 255);
    EXPECT_EQ(ItemName(item), name);
}

TEST(ContractRecords, TheModuleReadsTheValueObjectACHostFillsWithTheRuntimesFunctions)
{
    int borrowed = 42;
    WscbsValueObject* vo = contract_c_fill_value_object(&borrowed);
    ASSERT_NE(vo, nullptr) << "a C function of the runtime failed";
    // The module's own reading of the items (host/ValueObject).
    EXPECT_EQ(host::GetString(vo, "Global_curkjny", ""), "200703");
    EXPECT_EQ(ItemName(reinterpret_cast<const WscbsParamItem*>(host::FindItem(vo, "global_curkjny"))), "Global_curkjny")
        << "the first spelling stays";
    EXPECT_EQ(host::GetString(vo, "Count", "default"), "") << "an integer item reads as its empty string";
    EXPECT_TRUE(host::GetBoolean(vo, "Flag", false));
    EXPECT_EQ(host::FindItem(vo, "Rate")->Value->FloatValue, 0.13);
    EXPECT_EQ(host::FindItem(vo, "Borrowed")->Value->PointerValue, &borrowed);
    const rt::ParamItem* child = host::FindItem(vo, "Child");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->ValueType, WSCBS_PARAM_OBJECT);
    EXPECT_EQ(host::GetString(static_cast<rt::DataVO*>(child->Value->ObjectValue), "Inner", ""), "x");
    // The module replaces the borrowed pointer; the memory stays the host's.
    host::SetString(vo, "Borrowed", "text");
    EXPECT_EQ(borrowed, 42);
    WscbsValueObjectDestroy(vo);  // with the child object, under the sanitizers
}

TEST(ContractRecords, AServiceWrittenInCGivesItsTextIntoTheModulesString)
{
    rt::RtString result("the module's own");
    const rt::RtString kept = result;
    ASSERT_EQ(contract_c_assign_text(&result, "WSCBS"), 1);
    EXPECT_EQ(result.View(), "WSCBS");
    EXPECT_EQ(result.RefCount(), 1);
    EXPECT_EQ(kept.View(), "the module's own") << "another reference to the old text keeps it";
    EXPECT_EQ(kept.RefCount(), 1);
}
