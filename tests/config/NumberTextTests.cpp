#include "config/DifferenceParameterValue.h"
#include "config/NumberText.h"

#include <gtest/gtest.h>

#include <string>

TEST(NumberText, WholeNumbersWithin32Bits)
{
    std::int32_t value = 7;
    EXPECT_TRUE(config::ParseWholeNumber(" 2147483647\t", value));
    EXPECT_EQ(value, 2147483647);
    EXPECT_TRUE(config::ParseWholeNumber("-2147483648", value));
    EXPECT_EQ(value, -2147483647 - 1);
    EXPECT_TRUE(config::ParseWholeNumber("+12", value));
    EXPECT_EQ(value, 12);
    value = 7;
    for (const char* bad : {"", " ", "2147483648", "-2147483649", "12a", "1 2", "+", "0x10", "1.0"}) {
        EXPECT_FALSE(config::ParseWholeNumber(bad, value)) << bad;
        EXPECT_EQ(value, 7) << bad;
    }
}

TEST(NumberText, DecimalNumbersUseTheGivenSeparator)
{
    double value = 0;
    EXPECT_TRUE(config::ParseDecimalNumber("3.25", '.', value));
    EXPECT_DOUBLE_EQ(value, 3.25);
    EXPECT_TRUE(config::ParseDecimalNumber("-3,25", ',', value));
    EXPECT_DOUBLE_EQ(value, -3.25);
    EXPECT_TRUE(config::ParseDecimalNumber(" .5 ", '.', value));
    EXPECT_DOUBLE_EQ(value, 0.5);
    EXPECT_TRUE(config::ParseDecimalNumber("1.5E3", '.', value));
    EXPECT_DOUBLE_EQ(value, 1500);
    EXPECT_TRUE(config::ParseDecimalNumber("7", '.', value));
    EXPECT_DOUBLE_EQ(value, 7);
    // No fixed limit on the length of the text.
    EXPECT_TRUE(config::ParseDecimalNumber(std::string("0.").append(300, '0').append("1e300"), '.', value));
    EXPECT_DOUBLE_EQ(value, 0.1);
    EXPECT_TRUE(config::ParseDecimalNumber(std::string(200, '0').append("42"), '.', value));
    EXPECT_DOUBLE_EQ(value, 42);
    value = 9;
    for (const char* bad : {"", "3,25", ".", "1e", "1e+", "1.2.3", "abc", "1e999", "--1", "1 0"}) {
        EXPECT_FALSE(config::ParseDecimalNumber(bad, '.', value)) << bad;
        EXPECT_EQ(value, 9) << bad;
    }
}

TEST(DifferenceParameterValue, TypesAndValues)
{
    using config::ParameterKind;
    EXPECT_EQ(config::ParameterKindOf("Integer"), ParameterKind::Integer);
    EXPECT_EQ(config::ParameterKindOf("BOOLEAN"), ParameterKind::Boolean);
    EXPECT_EQ(config::ParameterKindOf("float"), ParameterKind::Float);
    EXPECT_EQ(config::ParameterKindOf(""), ParameterKind::Text);
    EXPECT_EQ(config::ParameterKindOf("int"), ParameterKind::Text);

    EXPECT_EQ(config::ParameterInteger("12a"), 0);
    EXPECT_EQ(config::ParameterInteger("-40"), -40);

    EXPECT_TRUE(config::ParameterBoolean("TRUE", '.'));
    EXPECT_TRUE(config::ParameterBoolean("2", '.'));
    EXPECT_TRUE(config::ParameterBoolean("0.5", '.'));
    EXPECT_FALSE(config::ParameterBoolean("0", '.'));
    EXPECT_FALSE(config::ParameterBoolean("False", '.'));
    EXPECT_FALSE(config::ParameterBoolean("yes", '.'));
    EXPECT_FALSE(config::ParameterBoolean("", '.'));

    // Integer and boolean values are taken as they stand: blanks around them
    // make them "any other text".
    EXPECT_EQ(config::ParameterInteger("12 "), 0);
    EXPECT_EQ(config::ParameterInteger(" 12"), 0);
    EXPECT_FALSE(config::ParameterBoolean(" True ", '.'));
    EXPECT_FALSE(config::ParameterBoolean("1 ", '.'));
    EXPECT_FALSE(config::ParameterBoolean("\ttrue", '.'));

    // Decimal values too.
    EXPECT_DOUBLE_EQ(config::ParameterFloat("1.5", '.'), 1.5);
    EXPECT_DOUBLE_EQ(config::ParameterFloat(" 1.5 ", '.'), 0.0);
    EXPECT_DOUBLE_EQ(config::ParameterFloat("1.5\t", '.'), 0.0);

    EXPECT_DOUBLE_EQ(config::ParameterFloat("0,17", ','), 0.17);
    EXPECT_DOUBLE_EQ(config::ParameterFloat("0.17", ','), 0.0);
}
