#include "host/ValueObject.h"

#include "sharedrt/SharedHeap.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace host;

namespace {

struct Destroyed : rt::RtObject {
    explicit Destroyed(int* counter) : counter_(counter) {}
    ~Destroyed() override { ++*counter_; }
    int* counter_;
};

std::string StoredName(const rt::ParamItem* item)
{
    return std::string(reinterpret_cast<const char*>(item->Name + 1), item->Name[0]);
}

const rt::ParamItem* ItemAt(const rt::DataVO& vo, int i) { return static_cast<rt::ParamItem*>(vo.Items->Get(i)); }

class ValueObjectTest : public ::testing::Test {
protected:
    std::unique_ptr<rt::DataVO> vo = std::make_unique<rt::DataVO>();
};

} // namespace

TEST_F(ValueObjectTest, AbsentNamesReadAsTheDefault)
{
    EXPECT_EQ(GetString(vo.get(), "QYSBH", ""), "");
    EXPECT_EQ(GetString(vo.get(), "QYSBH", "dflt"), "dflt");
    EXPECT_TRUE(GetBoolean(vo.get(), "flag", true));
    EXPECT_EQ(FindItem(vo.get(), "QYSBH"), nullptr);
}

TEST_F(ValueObjectTest, NamesIgnoreAsciiCaseAndKeepTheirFirstSpelling)
{
    SetString(vo.get(), "Global_curkjny", "202611");
    EXPECT_EQ(GetString(vo.get(), "global_curkjny", ""), "202611");
    SetString(vo.get(), "GLOBAL_CURKJNY", "202612");
    ASSERT_EQ(vo->Items->Count(), 1);
    EXPECT_EQ(StoredName(ItemAt(*vo, 0)), "Global_curkjny");
    EXPECT_EQ(GetString(vo.get(), "Global_curkjny", ""), "202612");
}

TEST_F(ValueObjectTest, GbkBytesMatchExactly)
{
    // 0xC4 0xE3 is a GBK character; 0xE4 0xE3 would be the same pair with
    // the lead byte "case-folded" by a careless comparison.
    SetString(vo.get(), "\xC4\xE3x", "one");
    EXPECT_EQ(GetString(vo.get(), "\xC4\xE3X", ""), "one");
    EXPECT_EQ(GetString(vo.get(), "\xE4\xE3x", "none"), "none");
}

TEST_F(ValueObjectTest, NamesThatDifferInATrailByteAreTwoItems)
{
    SetString(vo.get(), "\x81\x61", "lower");
    SetString(vo.get(), "\x81\x41", "upper");
    ASSERT_EQ(vo->Items->Count(), 2);
    EXPECT_EQ(GetString(vo.get(), "\x81\x61", ""), "lower");
    EXPECT_EQ(GetString(vo.get(), "\x81\x41", ""), "upper");
}

TEST_F(ValueObjectTest, ALongNameIsCutAtAWholeCharacter)
{
    // 254 letters and one double-byte character: the cut at 255 bytes would
    // leave half a character; the stored name ends before it instead.
    const std::string name = std::string(254, 'n').append("\xB0\xA1");
    SetString(vo.get(), name, "v");
    ASSERT_EQ(vo->Items->Count(), 1);
    EXPECT_EQ(StoredName(ItemAt(*vo, 0)), std::string(254, 'n'));
    EXPECT_EQ(GetString(vo.get(), name, ""), "v");
    SetString(vo.get(), name, "w");
    EXPECT_EQ(vo->Items->Count(), 1);
    EXPECT_EQ(GetString(vo.get(), name, ""), "w");
}

TEST_F(ValueObjectTest, ReplacingKeepsCountAndPositionAndAppendsNewNames)
{
    SetString(vo.get(), "a", "1");
    SetInteger(vo.get(), "b", 2);
    SetString(vo.get(), "c", "3");
    const rt::ParamItem* b = ItemAt(*vo, 1);
    SetString(vo.get(), "B", "two");
    ASSERT_EQ(vo->Items->Count(), 3);
    EXPECT_EQ(ItemAt(*vo, 1), b);
    EXPECT_EQ(b->ValueType, static_cast<std::uint8_t>(rt::ParamType::String));
    SetBoolean(vo.get(), "d", true);
    ASSERT_EQ(vo->Items->Count(), 4);
    EXPECT_EQ(StoredName(ItemAt(*vo, 3)), "d");
}

TEST_F(ValueObjectTest, TypedSettersWriteTheCellLayout)
{
    SetInteger(vo.get(), "i", -7);
    SetFloat(vo.get(), "f", 2.5);
    SetBoolean(vo.get(), "t", true);
    int target = 0;
    SetPointer(vo.get(), "p", &target);

    EXPECT_EQ(FindItem(vo.get(), "i")->Value->IntegerValue, -7);
    EXPECT_EQ(FindItem(vo.get(), "i")->ValueType, 1);
    EXPECT_DOUBLE_EQ(FindItem(vo.get(), "f")->Value->FloatValue, 2.5);
    EXPECT_EQ(FindItem(vo.get(), "f")->ValueType, 2);
    EXPECT_EQ(FindItem(vo.get(), "t")->ValueType, 3);
    EXPECT_TRUE(GetBoolean(vo.get(), "t", false));
    EXPECT_EQ(FindItem(vo.get(), "p")->Value->PointerValue, &target);
    EXPECT_EQ(FindItem(vo.get(), "p")->ValueType, 8);
    // Every setter allocates from the shared heap, so the host can free it.
    EXPECT_TRUE(rt::SharedHeap::Owns(FindItem(vo.get(), "p")));
    EXPECT_TRUE(rt::SharedHeap::Owns(FindItem(vo.get(), "p")->Value));
}

TEST_F(ValueObjectTest, IntegerItemsReadAsTheirEmptyString)
{
    SetInteger(vo.get(), "n", 12);
    EXPECT_EQ(GetString(vo.get(), "n", "default"), "");
}

TEST_F(ValueObjectTest, EveryAssignmentGetsAFreshCell)
{
    SetString(vo.get(), "s", "first");
    const rt::TParamValue* first = FindItem(vo.get(), "s")->Value;
    rt::RtString held = first->StringValue;
    SetString(vo.get(), "s", "second");
    EXPECT_NE(FindItem(vo.get(), "s")->Value, first);
    // The old cell released its reference to the string.
    EXPECT_EQ(held.RefCount(), 1);
    EXPECT_EQ(held, "first");
}

TEST_F(ValueObjectTest, ReplacingAnObjectItemDestroysItUnlessTheSameObjectComesBack)
{
    int destroyed = 0;
    auto* object = new Destroyed(&destroyed);
    rt::TParamValue* cell = rt::NewParamValue();
    cell->ObjectValue = object;
    SetValue(vo.get(), "obj", rt::ParamType::Object, cell);

    rt::TParamValue* same = rt::NewParamValue();
    same->ObjectValue = object;
    SetValue(vo.get(), "obj", rt::ParamType::Object, same);
    EXPECT_EQ(destroyed, 0);

    SetString(vo.get(), "obj", "text now");
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(GetString(vo.get(), "obj", ""), "text now");
}

TEST_F(ValueObjectTest, ReplacingAPointerItemNeverFreesTheMemory)
{
    auto* block = static_cast<int*>(rt::SharedHeap::Alloc(sizeof(int)));
    *block = 99;
    SetPointer(vo.get(), "Global_Errlist", block);
    SetPointer(vo.get(), "Global_Errlist", block);
    SetString(vo.get(), "Global_Errlist", "x");
    SetPointer(vo.get(), "Global_Errlist", nullptr);
    EXPECT_TRUE(rt::SharedHeap::Owns(block));
    EXPECT_EQ(*block, 99);
    rt::SharedHeap::Free(block);
}

TEST_F(ValueObjectTest, LongNamesAreCutBeforeTheLookupToo)
{
    const std::string exact(255, 'n');
    SetString(vo.get(), exact, "255");
    EXPECT_EQ(GetString(vo.get(), exact, ""), "255");
    EXPECT_EQ(StoredName(ItemAt(*vo, 0)), exact);

    const std::string longer = std::string(300, 'L');
    SetString(vo.get(), longer, "a");
    SetString(vo.get(), longer, "b");
    ASSERT_EQ(vo->Items->Count(), 2);
    EXPECT_EQ(StoredName(ItemAt(*vo, 1)).size(), 255u);
    EXPECT_EQ(GetString(vo.get(), longer, ""), "b");
}

TEST_F(ValueObjectTest, AnItemWithoutACellReadsAsTheDefault)
{
    SetString(vo.get(), "broken", "x");
    ReleaseValue(FindItem(vo.get(), "broken"), false);
    EXPECT_EQ(GetString(vo.get(), "broken", "dflt"), "dflt");
    EXPECT_FALSE(GetBoolean(vo.get(), "broken", false));
    SetString(vo.get(), "broken", "mended");
    EXPECT_EQ(GetString(vo.get(), "broken", ""), "mended");
}

// The key of a name stands for SameItemName: over names that differ in case,
// in a trail byte, and past the cut at 255 bytes (also in the middle of a
// double-byte character), equal keys and same names go together.
TEST(ItemNameKey, EqualKeysExactlyForTheSameItemName)
{
    const std::string longName(254, 'n');
    const std::string names[] = {"Rate", "RATE", "rate", "Rat", "\x81\x61", "\x81\x41", "a\x81\x61", "A\x81\x61",
                                 longName + "\xB0\xA1", longName + "\xB0\xA2", longName + "N", longName + "n",
                                 longName, longName + "nx", std::string(300, 'q'), std::string(301, 'Q'), ""};
    for (const std::string& a : names) {
        for (const std::string& b : names)
            EXPECT_EQ(ItemNameKey(a) == ItemNameKey(b), SameItemName(a, b)) << a.size() << " / " << b.size();
    }
    EXPECT_EQ(ItemNameKey("Rate"), ItemNameKey("rATE"));
    EXPECT_NE(ItemNameKey("\x81\x61"), ItemNameKey("\x81\x41"));
}
