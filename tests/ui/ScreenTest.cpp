// Full-screen root elements.
#include "engine/ui/Screen.h"

#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

using namespace Vexel::UI;

namespace
{
class ScreenTest : public UITest::UIFixture
{
};

// Counts its hooks; the screen's own constructor runs before these exist.
class CountingScreen : public Screen
{
public:
    CountingScreen() : Screen(1) {}
    void Update(float) override { ++updates; }
    void OnLayout() override { ++layouts; }
    void Draw(Vexel::Rectangle rect, float alpha) override
    {
        ++draws;
        lastRect = rect;
        lastAlpha = alpha;
    }
    int updates = 0, layouts = 0, draws = 0;
    Vexel::Rectangle lastRect;
    float lastAlpha = 0.0f;
};
} // namespace

TEST_F(ScreenTest, CoversTheScreenInBothOrientations)
{
    Vexel::Platform::SetScreenMetrics(300, 500, Vector2(0, 0));
    Screen screen(0);
    EXPECT_EQ(screen.GetSizeFor(true), Vector2(300, 500));
    EXPECT_EQ(screen.GetSizeFor(false), Vector2(500, 300));
    EXPECT_EQ(screen.GetLayout().position.alignment, 5u);
    EXPECT_EQ(screen.GetAlpha(), 1.0f);
    EXPECT_TRUE(screen.IsEnabled());
    EXPECT_TRUE(screen.IsVisible());
    EXPECT_EQ(screen.GetPosition(), Vector2(0, 0));
    EXPECT_EQ(screen.GetTouchMode(), 0);
}

TEST_F(ScreenTest, HitEverywhereEvenOutsideItsRectangle)
{
    Screen screen(1);
    for (Vector2 point : {Vector2(0, 0), Vector2(319, 479), Vector2(-50, 20), Vector2(1e6f, -1e6f)})
        EXPECT_TRUE(screen.HitTest(point)) << point.x << ", " << point.y;
    Element* target = nullptr;
    EXPECT_TRUE(screen.FindTouchTarget(Vector2(-5, -5), &target));
    EXPECT_EQ(target, &screen);
}

TEST_F(ScreenTest, ForwardersRunTheTreeOperations)
{
    CountingScreen screen;
    const Vector2 sizes[2] = {Vector2(320, 480), Vector2(480, 320)};
    Screen::ArrangeRoot(&screen, 0.0f, sizes, Vector2(0, 0));
    Screen::UpdateRoot(&screen, 0.1f);
    Screen::DrawRoot(&screen, Vector2(5, 6), 0.5f);
    EXPECT_EQ(screen.layouts, 1);
    EXPECT_EQ(screen.updates, 1);
    EXPECT_EQ(screen.draws, 1);
    EXPECT_EQ(screen.lastRect, Vexel::Rectangle(5, 6, 320, 480));
    EXPECT_EQ(screen.lastAlpha, 0.5f);
}
