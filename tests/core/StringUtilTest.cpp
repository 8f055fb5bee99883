#include "engine/core/DateTime.h"
#include "engine/core/StringUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using Vexel::StringUtil::Split;

TEST(StringUtil, SplitFields)
{
    struct Case
    {
        std::string text;
        std::vector<std::string> fields;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {" ", {""}},
        {"int32  byte", {"int32", "", "byte"}},
        {"a b ", {"a", "b"}},
        {" a", {"", "a"}},
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> out;
        EXPECT_EQ(Split(c.text, ' ', out), c.fields) << "'" << c.text << "'";
    }
    std::vector<std::string> kept{"x"};
    Split("y:z", ':', kept);
    EXPECT_EQ(kept, (std::vector<std::string>{"x", "y", "z"}));
}

TEST(StringUtil, ParseNumbersAndWidenNarrow)
{
    struct Case
    {
        const char* text;
        int asInt;
        unsigned asUInt;
    } cases[] = {{"  42abc", 42, 42}, {"7", 7, 7}, {"-12", -12, 0}, {"", 0, 0},
                 {"x1", 0, 0},        {"4294967295", 0, 4294967295u}, {"\t9 ", 9, 9}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(Vexel::StringUtil::ParseInt(c.text), c.asInt) << c.text;
        EXPECT_EQ(Vexel::StringUtil::ParseUInt(c.text), c.asUInt) << c.text;
    }
    const std::string bytes("A\xE9\xFF", 3);
    const std::wstring wide = Vexel::StringUtil::ToWide(bytes);
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[1], wchar_t(0xE9));
    EXPECT_EQ(wide[2], wchar_t(0xFF));
    EXPECT_EQ(Vexel::StringUtil::ToNarrow(wide), bytes);
    EXPECT_EQ(Vexel::StringUtil::ToNarrow(std::wstring(1, wchar_t(0x1F41))), std::string(1, '\x41'));
}

TEST(DateTime, ConversionsAndLocalParts)
{
    // Tests run with TZ=UTC.
    const Vexel::DateParts epoch = Vexel::DateTime::ToLocalParts(0.0);
    EXPECT_EQ(epoch.year, 1970);
    EXPECT_EQ(epoch.month, 1);
    EXPECT_EQ(epoch.day, 1);
    EXPECT_EQ(epoch.hour, 0);
    EXPECT_EQ(epoch.minute, 0);
    EXPECT_EQ(epoch.second, 0);
    const Vexel::DateParts later = Vexel::DateTime::ToLocalParts(1286550245.9); // 2010-10-08 15:04:05
    EXPECT_EQ(later.year, 2010);
    EXPECT_EQ(later.month, 10);
    EXPECT_EQ(later.day, 8);
    EXPECT_EQ(later.hour, 15);
    EXPECT_EQ(later.minute, 4);
    EXPECT_EQ(later.second, 5);

    struct Case
    {
        double seconds;
        int64_t whole;
    } cases[] = {{-0.5, -1}, {1.999, 1}, {1.75, 1}, {0.0, 0}, {-3.0, -3}, {1e300, INT64_MAX}};
    for (const Case& c : cases)
        EXPECT_EQ(Vexel::DateTime::ToInt64(c.seconds), c.whole) << c.seconds;
    EXPECT_EQ(Vexel::DateTime::FromInt64(5), 5.0);
    EXPECT_EQ(Vexel::DateTime::ToReferenceDateSeconds(978307200.0), 0.0);

    // Bracketed by the C library's clock, so a slow or descheduled test
    // cannot fail it.
    const double before = double(time(nullptr));
    const double now = Vexel::DateTime::Now();
    const double after = double(time(nullptr));
    EXPECT_GE(now, before);
    EXPECT_LT(now, after + 1.0);
}
