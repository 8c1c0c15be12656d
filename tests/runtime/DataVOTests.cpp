#include "sharedrt/SharedHeap.h"
#include "sharedrt/ValueLayout.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int g_destroyed = 0;

struct Tracked : rt::RtObject {
    ~Tracked() override { ++g_destroyed; }
};

rt::ParamItem* AddItem(rt::DataVO& vo, const char* name, rt::ParamType type, rt::TParamValue* cell)
{
    auto* item = static_cast<rt::ParamItem*>(rt::SharedHeap::AllocZeroed(sizeof(rt::ParamItem)));
    item->Name[0] = static_cast<std::uint8_t>(std::strlen(name));
    std::memcpy(item->Name + 1, name, item->Name[0]);
    item->ValueType = static_cast<std::uint8_t>(type);
    item->Value = cell;
    vo.Items->Add(item);
    return item;
}

} // namespace

TEST(DataVO, ItemsListFollowsTheClassReference)
{
    rt::DataVO vo;
    void* words[2];
    std::memcpy(words, &vo, sizeof words);
    EXPECT_EQ(words[1], vo.Items);
}

TEST(DataVO, DestroyingReleasesCellsAndOwnedObjectsButNotPointers)
{
    g_destroyed = 0;
    int borrowed = 42;
    auto* vo = new rt::DataVO;

    rt::TParamValue* text = rt::NewParamValue();
    text->StringValue = std::string_view("kept by the item");
    rt::RtString outside = text->StringValue;
    AddItem(*vo, "s", rt::ParamType::String, text);

    rt::TParamValue* object = rt::NewParamValue();
    object->ObjectValue = new Tracked;
    AddItem(*vo, "o", rt::ParamType::Object, object);

    rt::TParamValue* pointer = rt::NewParamValue();
    pointer->PointerValue = &borrowed;
    AddItem(*vo, "p", rt::ParamType::Pointer, pointer);

    EXPECT_EQ(outside.RefCount(), 2);
    delete vo;
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_EQ(outside.RefCount(), 1);
    EXPECT_EQ(borrowed, 42);
}

TEST(DataVO, NewCellIsEmpty)
{
    rt::TParamValue* cell = rt::NewParamValue();
    EXPECT_TRUE(cell->StringValue.Empty());
    for (auto b : cell->VariantValue)
        EXPECT_EQ(b, 0);
    EXPECT_EQ(cell->IntegerValue, 0);
    EXPECT_TRUE(rt::SharedHeap::Owns(cell));
    rt::FreeParamValue(cell);
}
