#include "Conversions.h"

#include <gtest/gtest.h>

#include <optional>

TEST(SearchConversion, FollowsTheStandardIntegerConversion)
{
    struct Case {
        std::string_view text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"12", 12},
        {"0", 0},
        {"007", 7},
        {"   12", 12},
        {"+12", 12},
        {"-12", -12},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$000000000FF", 255},
        {"$100000000", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$G", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"12 ", std::nullopt},
        {"\t12", std::nullopt},
        {"12A", std::nullopt},
        {"1.5", std::nullopt},
        {"1e3", std::nullopt},
        {"água", std::nullopt},
        {"x' or 'a", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        EXPECT_EQ(catalog::conversions::toInteger(c.text), c.value);
    }
}
