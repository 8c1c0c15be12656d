#include "startup/regional/DifferenceParameterValue.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <string>

TEST(NumberText, WholeNumbersWithin32Bits)
{
    std::int32_t value = 7;
    EXPECT_TRUE(text::ParseWholeNumber(" 2147483647\t", value));
    EXPECT_EQ(value, 2147483647);
    EXPECT_TRUE(text::ParseWholeNumber("-2147483648", value));
    EXPECT_EQ(value, -2147483647 - 1);
    EXPECT_TRUE(text::ParseWholeNumber("+12", value));
    EXPECT_EQ(value, 12);
    value = 7;
    for (const char* bad : {"", " ", "2147483648", "-2147483649", "12a", "1 2", "+", "0x10", "1.0"}) {
        EXPECT_FALSE(text::ParseWholeNumber(bad, value)) << bad;
        EXPECT_EQ(value, 7) << bad;
    }
}

TEST(NumberText, DecimalNumbersUseTheGivenSeparator)
{
    double value = 0;
    EXPECT_TRUE(text::ParseDecimalNumber("3.25", '.', value));
    EXPECT_DOUBLE_EQ(value, 3.25);
    EXPECT_TRUE(text::ParseDecimalNumber("-3,25", ',', value));
    EXPECT_DOUBLE_EQ(value, -3.25);
    EXPECT_TRUE(text::ParseDecimalNumber(" .5 ", '.', value));
    EXPECT_DOUBLE_EQ(value, 0.5);
    EXPECT_TRUE(text::ParseDecimalNumber("1.5E3", '.', value));
    EXPECT_DOUBLE_EQ(value, 1500);
    EXPECT_TRUE(text::ParseDecimalNumber("7", '.', value));
    EXPECT_DOUBLE_EQ(value, 7);
    // No fixed limit on the length of the text.
    EXPECT_TRUE(text::ParseDecimalNumber(std::string("0.").append(300, '0').append("1e300"), '.', value));
    EXPECT_DOUBLE_EQ(value, 0.1);
    EXPECT_TRUE(text::ParseDecimalNumber(std::string(200, '0').append("42"), '.', value));
    EXPECT_DOUBLE_EQ(value, 42);
    value = 9;
    for (const char* bad : {"", "3,25", ".", "1e", "1e+", "1.2.3", "abc", "1e999", "--1", "1 0"}) {
        EXPECT_FALSE(text::ParseDecimalNumber(bad, '.', value)) << bad;
        EXPECT_EQ(value, 9) << bad;
    }
}

TEST(DifferenceParameterValue, TypesAndValues)
{
    using startup::ParameterKind;
    EXPECT_EQ(startup::ParameterKindOf("Integer"), ParameterKind::Integer);
    EXPECT_EQ(startup::ParameterKindOf("BOOLEAN"), ParameterKind::Boolean);
    EXPECT_EQ(startup::ParameterKindOf("float"), ParameterKind::Float);
    EXPECT_EQ(startup::ParameterKindOf(""), ParameterKind::Text);
    EXPECT_EQ(startup::ParameterKindOf("int"), ParameterKind::Text);

    EXPECT_EQ(startup::ParameterInteger("12a"), 0);
    EXPECT_EQ(startup::ParameterInteger("-40"), -40);

    EXPECT_TRUE(startup::ParameterBoolean("TRUE", '.'));
    EXPECT_TRUE(startup::ParameterBoolean("2", '.'));
    EXPECT_TRUE(startup::ParameterBoolean("0.5", '.'));
    EXPECT_FALSE(startup::ParameterBoolean("0", '.'));
    EXPECT_FALSE(startup::ParameterBoolean("False", '.'));
    EXPECT_FALSE(startup::ParameterBoolean("yes", '.'));
    EXPECT_FALSE(startup::ParameterBoolean("", '.'));

    // Integer and boolean values are taken as they stand: blanks around them
    // make them "any other text".
    EXPECT_EQ(startup::ParameterInteger("12 "), 0);
    EXPECT_EQ(startup::ParameterInteger(" 12"), 0);
    EXPECT_FALSE(startup::ParameterBoolean(" True ", '.'));
    EXPECT_FALSE(startup::ParameterBoolean("1 ", '.'));
    EXPECT_FALSE(startup::ParameterBoolean("\ttrue", '.'));

    // Decimal values too.
    EXPECT_DOUBLE_EQ(startup::ParameterFloat("1.5", '.'), 1.5);
    EXPECT_DOUBLE_EQ(startup::ParameterFloat(" 1.5 ", '.'), 0.0);
    EXPECT_DOUBLE_EQ(startup::ParameterFloat("1.5\t", '.'), 0.0);

    EXPECT_DOUBLE_EQ(startup::ParameterFloat("0,17", ','), 0.17);
    EXPECT_DOUBLE_EQ(startup::ParameterFloat("0.17", ','), 0.0);
}
