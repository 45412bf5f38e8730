#include "params/user_locale.h"

#include <gtest/gtest.h>

#include "params/code_page.h"

namespace velmora {
namespace {

class UserLocaleTest : public ::testing::Test {
protected:
    void Use(char separator, const std::string& dateFormat, const std::string& timeFormat = "%H:%M:%S") {
        UserLocale locale;
        locale.DecimalSeparator = separator;
        locale.ShortDateFormat = dateFormat;
        locale.LongTimeFormat = timeFormat;
        SetUserLocaleForTesting(locale);
    }
    void TearDown() override { ClearUserLocaleForTesting(); }

    static TDateTime Date(int y, int m, int d) {
        TDateTime v = 0;
        EXPECT_TRUE(EncodeDate(y, m, d, v));
        return v;
    }
};

TEST_F(UserLocaleTest, RealsInGeneralFormatWithUserSeparator) {
    Use(',', "%d.%m.%Y");
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},          {1, "1"},           {72, "72"},
        {0.5, "0,5"},      {2.8, "2,8"},       {-1.25, "-1,25"},
        {1.0 / 3, "0,333333333333333"},        {0.0001, "0,0001"},
        {0.00001, "1E-5"}, {1.5e-7, "1,5E-7"}, {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},    {123456789012345678.0, "1,23456789012346E17"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatRealGeneral(c.value), c.text) << c.value;
}

TEST_F(UserLocaleTest, ParseRealUsesOnlyTheUserSeparator) {
    Use(',', "%d.%m.%Y");
    double v = -1;
    EXPECT_TRUE(ParseReal("  2,5  ", v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(ParseReal("-1,5E3", v));
    EXPECT_EQ(v, -1500);
    EXPECT_TRUE(ParseReal("+7", v));
    EXPECT_EQ(v, 7);
    v = 42;
    for (const char* bad : {"2.5", "", ",", "1e", "abc", "1,5x", "1e999", "inf", "nan"})
        EXPECT_FALSE(ParseReal(bad, v)) << bad;
    EXPECT_EQ(v, 42);
}

TEST_F(UserLocaleTest, DatesFollowTheShortDateFormat) {
    Use('.', "%d.%m.%Y");
    const TDateTime christmas = Date(2023, 12, 24);
    EXPECT_EQ(FormatShortDate(christmas), "24.12.2023");
    TDateTime parsed = 0;
    ASSERT_TRUE(ParseShortDate(" 24.12.2023 ", parsed));
    EXPECT_EQ(parsed, christmas);

    Use('.', "%m/%d/%y");
    EXPECT_EQ(FormatShortDate(christmas), "12/24/23");
    ASSERT_TRUE(ParseShortDate("12/24/23", parsed));
    EXPECT_EQ(parsed, christmas);
    ASSERT_TRUE(ParseShortDate("1/2/99", parsed));
    EXPECT_EQ(parsed, Date(1999, 1, 2));

    Use('.', "%F");
    EXPECT_EQ(FormatShortDate(christmas), "2023-12-24");
    ASSERT_TRUE(ParseShortDate("2023-12-24", parsed));
    EXPECT_EQ(parsed, christmas);

    parsed = 5;
    for (const char* bad : {"", "abc", "2023-02-30", "2023-13-01", "2023-12-24x", "10:30:00", "1-2-3-4"})
        EXPECT_FALSE(ParseShortDate(bad, parsed)) << bad;
    EXPECT_EQ(parsed, 5);
}

TEST_F(UserLocaleTest, DateTimeValuesAroundDayZero) {
    Use('.', "%Y-%m-%d", "%H:%M:%S");
    EXPECT_EQ(FormatShortDate(0), "1899-12-30");
    EXPECT_EQ(FormatDateAndTime(Date(2004, 2, 29) + 0.75), "2004-02-29 18:00:00");
    EXPECT_EQ(FormatLongTime(0.5 + 1.0 / 86400), "12:00:01");
    // Before day 0 the fraction still counts forward from midnight of the day.
    EXPECT_EQ(FormatDateAndTime(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(FormatShortDate(1e300), "");

    Use('.', "%d/%m/%Y", "%r");
    EXPECT_EQ(FormatLongTime(0.75), "06:00:00 PM");
    TDateTime v = 0;
    ASSERT_TRUE(ParseDateTime("29/02/2004 06:00:00 PM", v));
    EXPECT_DOUBLE_EQ(v, Date(2004, 2, 29) + 0.75);
    ASSERT_TRUE(ParseTime("12:30 am", v));
    EXPECT_DOUBLE_EQ(v, 30.0 / 1440);
    EXPECT_FALSE(ParseTime("25:00", v));
}

TEST(CodePageTest, Utf8AndUtf16RoundTripAndBadInput) {
    const std::u16string wide = u"Gr\u00fc\u00dfe \U0001F600";
    EXPECT_EQ(WideToCodePage(wide), "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80");
    EXPECT_EQ(CodePageToWide(WideToCodePage(wide)), wide);
    // A stray continuation byte, a truncated sequence and an overlong form each become U+FFFD.
    EXPECT_EQ(CodePageToWide("a\x80" "b\xE2\x82"), u"a\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(CodePageToWide("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(WideToCodePage(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace velmora
