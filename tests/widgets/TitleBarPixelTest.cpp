// Page titles drawn with the game's generated fonts on a real OpenGL ES 1.1
// context (EGL pbuffer): a short title, a long one squeezed to 72 % of the
// width, and the short one again half a pulse later. Probes: black around
// the titles, every lit pixel in the title colour's proportions (additive
// layers over black), titles centred, the squeeze, and the outline's swell.
// The frame is saved as "title_bar.png" in the build folder.
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/type/IFont.h"
#include "engine/display/GLContext.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/IFlush.h"
#include "game/widgets/TitleBarText.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace Vexel::Graphics;
using Vexel::Rectangle;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const int kWidth = 320;
const int kHeight = 180;
const float kTitleHeight = 40.0f;
const Color kTitleColour(255, 160, 40, 255);
// How far light may be looked for beyond a title's band (none is expected).
const float kReach = 10.0f;
// A pixel brighter than this in any channel counts as lit.
const int kLit = 24;

class CountingFlush : public IFlush
{
public:
    void FlushFirstBatch() override { ++first; }
    void FlushSecondBatch() override { ++second; }
    int first = 0;
    int second = 0;
};

bool Lit(GLTest::Frame const& frame, int x, int y)
{
    return frame.Brightness(x, y) > kLit;
}

// The box of the lit pixels in rows top .. bottom - 1; empty when none.
Rectangle LitBox(GLTest::Frame const& frame, int top, int bottom)
{
    int x0 = kWidth, y0 = kHeight, x1 = -1, y1 = -1;
    for (int y = std::max(0, top); y < std::min(kHeight, bottom); ++y)
        for (int x = 0; x < kWidth; ++x)
            if (Lit(frame, x, y))
            {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    if (x1 < 0)
        return Rectangle();
    return Rectangle(float(x0), float(y0), float(x1 - x0 + 1), float(y1 - y0 + 1));
}

} // namespace

TEST(TitleBarPixelTest, TitlesGlowCentredSqueezedAndPulsingOnEs11)
{
    // The game's fonts as the build generated them.
    GLTest::UseGameData(VEXEL_DATA_DIR, false);
    std::unique_ptr<Vexel::Platform::GLContext> context = GLTest::CreateContext(kWidth, kHeight);
    ASSERT_NE(nullptr, context) << "no EGL pbuffer context";

    GLTest::SetUpFrame(kWidth, kHeight, Color(0, 0, 0, 255));

    CountingFlush flush;
    Vexel::UI::Element root(
        ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(float(kWidth), float(kHeight))), 0);
    const float tops[3] = {10.0f, 70.0f, 130.0f};
    auto add = [&](float top, const char* text)
    {
        return static_cast<TitleBarText*>(root.AddChild(new TitleBarText(
            ElementLayout(ElementPosition(Vector2(0.0f, top)), Vector2(float(kWidth), kTitleHeight)), text,
            kTitleColour, &flush)));
    };
    TitleBarText* shortTitle = add(tops[0], "Options");
    TitleBarText* longTitle = add(tops[1], "Leaderboard of the Defenders");
    TitleBarText* pulsed = add(tops[2], "Options");
    pulsed->Update(0.5f / 0.48f); // half a pulse: the outline back at scale 1
    ASSERT_GT(shortTitle->GetTextSize().x, 40.0f) << "the fonts did not load from " << VEXEL_DATA_DIR;
    ASSERT_GT(longTitle->GetTextSize().x, 0.72f * kWidth) << "the long title must need squeezing";

    root.DrawTree(Vector2(0.0f, 0.0f), 1.0f);
    GL::Finish();
    EXPECT_EQ(GLenum(GL_NO_ERROR), GL::CheckErrors(__FILE__, __LINE__, "title frame"));
    EXPECT_EQ(3, flush.first);
    EXPECT_EQ(0, flush.second);
    EXPECT_EQ(2, RenderState::GetBlendMode());

    const GLTest::Frame frame = GLTest::ReadFrame(kWidth, kHeight);
    const float faceSize = GetFont(10.0f)->GetBaseSize();
    const std::string png = std::string(VEXEL_TEST_OUTPUT_DIR) + "/title_bar.png";
    EXPECT_TRUE(frame.SavePng(png)) << png;

    // Lit pixels only near the three bands, and in the title colour's
    // proportions where no channel saturates (both layers add the colour
    // scaled by texel alpha over black).
    int lit = 0, proportional = 0, maxRed = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            if (!Lit(frame, x, y))
                continue;
            ++lit;
            bool nearBand = false;
            for (float top : tops)
                nearBand = nearBand || (y >= top - kReach && y < top + kTitleHeight + kReach);
            EXPECT_TRUE(nearBand) << "stray light at " << x << ", " << y;
            const int r = frame.At(x, y, 0), g = frame.At(x, y, 1), b = frame.At(x, y, 2);
            maxRed = std::max(maxRed, r);
            EXPECT_TRUE(r >= g && g >= b) << "at " << x << ", " << y << ": " << r << " " << g << " " << b;
            if (r < 250)
            {
                ++proportional;
                EXPECT_NEAR(r * 160.0 / 255.0, g, 3.0) << "at " << x << ", " << y;
                EXPECT_NEAR(r * 40.0 / 255.0, b, 3.0) << "at " << x << ", " << y;
            }
        }
    EXPECT_GT(lit, 600);
    EXPECT_GT(proportional, 100);
    EXPECT_GE(maxRed, 240) << "the two layers together reach full red";
    for (int x = 0; x < kWidth; ++x)
    {
        EXPECT_FALSE(Lit(frame, x, 0));
        EXPECT_FALSE(Lit(frame, x, kHeight - 1));
    }

    TitleBarText* const titles[3] = {shortTitle, longTitle, pulsed};
    Rectangle boxes[3];
    for (int i = 0; i < 3; ++i)
    {
        boxes[i] = LitBox(frame, int(tops[i] - kReach), int(tops[i] + kTitleHeight + kReach));
        SCOPED_TRACE("title " + std::to_string(i));
        ASSERT_GT(boxes[i].width, 0.0f);
        // Centred: the generated faces put every glyph's ink two face pixels
        // right of its pen, so the ink's centre lies that far right of the
        // element's (squeezed with the title); the side bearings differ by a
        // pixel or two at most.
        const float inkShift = 2.0f * (0.9f * kTitleHeight / faceSize) * titles[i]->GetSqueeze(float(kWidth));
        EXPECT_NEAR(kWidth * 0.5f + inkShift, boxes[i].Center().x, 3.0f);
        // Capitals to descenders, the title stays inside its band.
        EXPECT_GE(boxes[i].y, tops[i]);
        EXPECT_LE(boxes[i].y + boxes[i].height, tops[i] + kTitleHeight);
    }
    // The short title keeps its laid-out width (plus the outline's swell).
    EXPECT_NEAR(shortTitle->GetTextSize().x * 1.035f, boxes[0].width, 0.08f * shortTitle->GetTextSize().x);
    // The long one is squeezed to 72 % of the element's width.
    EXPECT_NEAR(0.72f * kWidth * 1.035f, boxes[1].width, 0.06f * 0.72f * kWidth);
    EXPECT_LT(boxes[1].width, 0.8f * kWidth);
    // Half a pulse later the outline is back at scale 1: narrower, by about
    // 3.5 % of the width at the peak.
    EXPECT_GT(boxes[0].width - boxes[2].width, 0.02f * shortTitle->GetTextSize().x);
    EXPECT_LT(boxes[0].width - boxes[2].width, 0.05f * shortTitle->GetTextSize().x);

    // The caches' fonts belong to this context; drop them with it.
    ShutdownUIHelper();
}
