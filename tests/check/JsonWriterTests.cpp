#include "JsonWriter.h"

#include <gtest/gtest.h>

using check::JsonString;
using check::JsonWriter;

TEST(JsonWriter, EscapesAndConvertsGbkToUtf8)
{
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("1\r\n2\t\x01\x7f"), "\"1\\r\\n2\\t\\u0001\\u007f\"");
    EXPECT_EQ(JsonString("清卡"), "\"\xE6\xB8\x85\xE5\x8D\xA1\"");
    // A lead byte without its trail byte is no character.
    EXPECT_EQ(JsonString("x\x81"), "\"x\xEF\xBF\xBD\"");
    // A pair that is none: the lead byte is lost, the byte behind it kept.
    EXPECT_EQ(JsonString("\x81" "0" "清"), "\"\xEF\xBF\xBD" "0\xE6\xB8\x85\"");
    EXPECT_EQ(JsonString("\x81" "a"), "\"\xE4\xB9\xA4\"");  // 乤: 'a' is a trail byte
}

TEST(JsonWriter, LaysOutNestedValuesWithCommasBetweenMembers)
{
    JsonWriter json;
    json.BeginObject().Member("n", 3).Member("ok", true).Key("list").BeginArray();
    json.String("x").Null().BeginObject().EndObject().EndArray();
    json.Key("empty").BeginArray().EndArray().Member("big", std::int64_t{-5000000000}).EndObject();
    EXPECT_EQ(json.Text(), "{\n"
                           "  \"n\": 3,\n"
                           "  \"ok\": true,\n"
                           "  \"list\": [\n"
                           "    \"x\",\n"
                           "    null,\n"
                           "    {}\n"
                           "  ],\n"
                           "  \"empty\": [],\n"
                           "  \"big\": -5000000000\n"
                           "}\n");
}

TEST(JsonWriter, RefusesWhatWouldNotBeJson)
{
    JsonWriter memberWithoutKey;
    memberWithoutKey.BeginObject();
    EXPECT_ANY_THROW(memberWithoutKey.String("x"));
    JsonWriter keyInArray;
    keyInArray.BeginArray();
    EXPECT_ANY_THROW(keyInArray.Key("k"));
    JsonWriter wrongEnd;
    wrongEnd.BeginArray();
    EXPECT_ANY_THROW(wrongEnd.EndObject());
    JsonWriter secondTop;
    secondTop.Number(1);
    EXPECT_ANY_THROW(secondTop.Number(2));
}
