#include "formats/detail/Text.h"

#include <QRandomGenerator>

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <utility>

using namespace zuvo::formats::detail;

TEST(Text, decimalsReadExactlyAsTheCLibraryReadsThem)
{
    // Plain decimals take a shortcut; it must agree with strtod to the bit.
    QRandomGenerator random(42);
    for (int i = 0; i < 100'000; ++i) {
        const int digits = 1 + int(random.bounded(15));
        std::string text = random.bounded(2) ? "-" : "";
        for (int d = 0; d < digits; ++d)
            text += char('0' + random.bounded(10));
        text.insert(text.size() - std::size_t(random.bounded(digits + 1)), ".");
        const auto parsed = parseDecimal(text);
        ASSERT_TRUE(parsed) << text;
        ASSERT_EQ(*parsed, std::strtod(text.c_str(), nullptr)) << text;
    }
    EXPECT_EQ(parseDecimal("1234567890.1234567"), 1234567890.1234567);
    EXPECT_EQ(parseDecimal("+2.5e3"), 2500.0);
    EXPECT_EQ(parseDecimal(".5"), 0.5);
    for (const char* bad :
         {"", ".", "-", "+-1", " 1", "1 ", "1e", "0x1p3", "inf", "nan", "1,5", "1e400"})
        EXPECT_FALSE(parseDecimal(bad)) << bad;

    EXPECT_EQ(parseInteger("-17"), -17);
    for (const char* bad : {"", "+", "1.0", "2147483648", "+-1"})
        EXPECT_FALSE(parseInteger(bad)) << bad;
}

TEST(Text, internetDateTimesBothWays)
{
    const auto written = [](std::int64_t seconds) {
        char text[numberCapacity];
        return std::string(text, writeInternetDateTime(text, seconds));
    };
    const std::pair<std::int64_t, const char*> instants[] = {
        {0, "1970-01-01T00:00:00Z"},
        {951'782'400, "2000-02-29T00:00:00Z"},
        {1'714'551'300, "2024-05-01T08:15:00Z"},
        {-62'167'219'200, "0000-01-01T00:00:00Z"},
        {253'402'300'799, "9999-12-31T23:59:59Z"},
    };
    for (const auto& [seconds, text] : instants) {
        EXPECT_EQ(written(seconds), text);
        EXPECT_EQ(parseInternetDateTime(text), seconds * 1000) << text;
    }
    // Offsets, fractions as other programs write them, and no zone (UTC).
    const std::pair<const char*, std::int64_t> read[] = {
        {"2024-05-01T10:15:00+0200", 1'714'551'300'000},
        {"2024-05-01T06:15:00-02:00", 1'714'551'300'000},
        {"2024-05-01T08:15:00.000Z", 1'714'551'300'000},
        {"2024-05-01T08:15:00.6Z", 1'714'551'300'600},
        {"2024-05-01T09:15:00.000+01:00", 1'714'551'300'000},
        {"2024-05-01T08:15:00.123456789Z", 1'714'551'300'123},
        {"2013-01-01T12:00:04", 1'357'041'604'000},
        {"1969-12-31T23:59:59.5Z", -500},
    };
    for (const auto& [text, milliseconds] : read)
        EXPECT_EQ(parseInternetDateTime(text), milliseconds) << text;
    for (const char* bad : {"2023-02-29T00:00:00Z", "2024-05-01T24:00:00Z", "2024-05-01T08:15:00.Z",
                            "2024-05-01T08:15:00z", "2024-05-01T08:15:00+2:00",
                            "2024-05-01T08:15:00.5.5Z", "2024-05-01T08:15:00 "})
        EXPECT_FALSE(parseInternetDateTime(bad)) << bad;
    EXPECT_EQ(minuteText(1'714'551'300), "2024-05-01 08:15");
}
