// The widget helper: number text checked against glibc's grouping printf, the
// font caches, and the shared batch drawn after the UI.
#include "engine/graphics/Geometry.h"
#include "engine/graphics/GeometryBatch.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/Texture.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "tests/widgets/TextWidgetTestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <random>

using TextWidgetTest::FakeWidgetFonts;

namespace
{

// An English locale whose printf("%'lld") puts "," between groups: the one
// the build compiled, or the system's.
locale_t EnglishLocale()
{
#ifdef VEXEL_TEST_LOCALE_DIR
    setenv("LOCPATH", VEXEL_TEST_LOCALE_DIR, 1);
#endif
    for (const char* name : {"en_US.UTF-8", "en_US.utf8", "en_GB.UTF-8", "C.UTF-8"})
    {
        locale_t locale = newlocale(LC_NUMERIC_MASK, name, locale_t(0));
        if (!locale)
            continue;
        locale_t previous = uselocale(locale);
        char text[32];
        std::snprintf(text, sizeof text, "%'lld", 1000LL);
        uselocale(previous);
        if (std::string(text) == "1,000")
            return locale;
        freelocale(locale);
    }
    return locale_t(0);
}

std::string Grouped(locale_t locale, long long value)
{
    locale_t previous = uselocale(locale);
    char text[64];
    std::snprintf(text, sizeof text, "%'lld", value);
    uselocale(previous);
    return text;
}

} // namespace

TEST(FormatWithThousands, Table)
{
    struct Case
    {
        int64_t value;
        const char* text;
    };
    const Case cases[] = {
        {1234567, "1,234,567"},
        {1000, "1,000"},
        {1000005, "1,000,005"},
        {10050, "10,050"},
        {999, "999"},
        {1, "1"},
        {100, "100"},
        {1001, "1,001"},
        {100000, "100,000"},
        // Zero and negative numbers are written too ("Lives: 0").
        {0, "0"},
        {-42, "-42"},
        {-1000, "-1,000"},
        {-1234567, "-1,234,567"},
        {std::numeric_limits<int64_t>::max(), "9,223,372,036,854,775,807"},
        {std::numeric_limits<int64_t>::min(), "-9,223,372,036,854,775,808"},
    };
    for (Case const& c : cases)
        EXPECT_EQ(c.text, FormatWithThousands(c.value)) << c.value;
}

TEST(FormatWithThousands, AgreesWithGroupingPrintf)
{
    locale_t english = EnglishLocale();
    if (!english)
    {
        GTEST_SKIP() << "no locale that groups thousands with \",\"";
    }
    std::vector<int64_t> values;
    for (int64_t p = 1; p <= std::numeric_limits<int64_t>::max() / 10; p *= 10)
    {
        values.push_back(p - 1);
        values.push_back(p);
        values.push_back(p + 1);
        values.push_back(p * 5 + 7);
    }
    values.push_back(std::numeric_limits<int64_t>::max());
    std::mt19937_64 random(20240611u);
    for (int i = 0; i < 2000; ++i)
        values.push_back(int64_t(random() >> (random() % 63 + 1)));
    for (int64_t value : values)
    {
        if (value > 0)
        {
            EXPECT_EQ(Grouped(english, value), FormatWithThousands(value)) << value;
        }
    }
    freelocale(english);
}

class UIHelperTest : public ::testing::Test
{
protected:
    FakeWidgetFonts fonts;
};

TEST_F(UIHelperTest, FontsAreCachedByExactSizePerFace)
{
    auto* a = GetFont(16.5f);
    EXPECT_EQ(a, GetFont(16.5f));
    auto* b = GetFont(16.0f);
    EXPECT_NE(a, b);
    auto* outline = GetOutlineFont(16.5f);
    EXPECT_NE(a, outline);
    EXPECT_EQ(outline, GetOutlineFont(16.5f));
    ASSERT_EQ(3u, fonts.made.size());
    EXPECT_EQ(
        (std::vector<std::string>{"SegoeUI_24pt.type", "SegoeUI_24pt.type", "SegoeUI_24pt_outline.type"}),
        fonts.files);
    EXPECT_FLOAT_EQ(16.5f, fonts.made[0]->size);
    EXPECT_FLOAT_EQ(16.0f, fonts.made[1]->size);
    // Load runs on every request: it completes the metrics once the face is in.
    EXPECT_EQ(2, fonts.made[0]->loads);
    EXPECT_EQ(2, fonts.made[2]->loads);
    // A NaN size cannot break the cache's ordering.
    EXPECT_EQ(GetFont(std::nanf("")), GetFont(0.0f));
    EXPECT_EQ(b, GetFont(16.0f));
}

TEST_F(UIHelperTest, InitPreloadsSize16AndHooksTheSharedBatchOnce)
{
    const size_t before = Vexel::UI::UIManager::AfterDraw.SubscriberCount();
    InitUIHelper();
    ASSERT_EQ(1u, fonts.made.size());
    EXPECT_EQ("SegoeUI_24pt.type", fonts.files[0]);
    EXPECT_FLOAT_EQ(16.0f, fonts.made[0]->size);
    EXPECT_EQ(fonts.made[0], GetFont(16.0f));
    EXPECT_EQ(before + 1, Vexel::UI::UIManager::AfterDraw.SubscriberCount());
    InitUIHelper();
    EXPECT_EQ(1u, fonts.made.size());
    EXPECT_EQ(before + 1, Vexel::UI::UIManager::AfterDraw.SubscriberCount());
    ShutdownUIHelper();
    EXPECT_EQ(before, Vexel::UI::UIManager::AfterDraw.SubscriberCount());
}

// The shared batch is drawn when the UI manager's after-draw event fires, and
// then forgets what it held.
TEST_F(UIHelperTest, AfterDrawDrawsTheSharedBatchEvenWhenSize16CameFirst)
{
    GetFont(16.0f); // before InitUIHelper: must not count as initialised
    InitUIHelper();
    EXPECT_EQ(1u, fonts.made.size());

    Vexel::Graphics::Geometry::Geometry<Vexel::Graphics::Geometry::VertexP2T2C> piece(
        new Vexel::Graphics::Geometry::VertexP2T2C[4], 4, nullptr, 0, Vexel::Graphics::Texture::Empty, 1);
    Vexel::Graphics::GL::Recorder recorder;
    GetTransientBatch()->Add(&piece);
    Vexel::UI::UIManager::AfterDraw.Raise(Vexel::Rectangle(0, 0, 320, 480));
    const int drawn = recorder.Count("glDrawElements") + recorder.Count("glDrawArrays");
    EXPECT_EQ(1, drawn) << recorder.Describe();
    recorder.Clear();
    Vexel::UI::UIManager::AfterDraw.Raise(Vexel::Rectangle(0, 0, 320, 480));
    EXPECT_EQ(0, recorder.Count("glDrawElements") + recorder.Count("glDrawArrays"));
}

TEST_F(UIHelperTest, ShutdownDeletesTheFontsAndAllowsAFreshStart)
{
    InitUIHelper();
    GetOutlineFont(12.0f);
    ShutdownUIHelper();
    ShutdownUIHelper(); // twice is harmless
    const size_t before = fonts.made.size();
    InitUIHelper();
    EXPECT_EQ(before + 1, fonts.made.size()) << "a fresh size-16 font after the restart";
}
