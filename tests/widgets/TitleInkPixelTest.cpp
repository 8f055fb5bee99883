// Page titles in the title bar's panel, drawn with the game's generated
// fonts on a real OpenGL ES 1.1 context (EGL pbuffer): the panel's rows are
// measured against the ink of titles with tall capitals and descenders.
#include "engine/graphics/GL.h"
#include "engine/display/GLContext.h"
#include "engine/ui/UIHelper.h"
#include "game/widgets/IFlush.h"
#include "game/widgets/TitleBarText.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace Vexel::Graphics;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const Color kTitleColour(255, 160, 40, 255);
// A pixel brighter than this in any channel counts as lit.
const int kLit = 24;

class NoFlush : public IFlush
{
public:
    void FlushFirstBatch() override {}
    void FlushSecondBatch() override {}
};

} // namespace

// The title bar's picture leaves 2 of its 70 rows clear above and below its
// panel. At the bar heights of a 320x480 and a 640x960 screen, titles with
// tall capitals, tails and descenders, their outline at the pulse's widest,
// keep their ink inside the panel with a pixel to spare.
TEST(TitleInkPixelTest, TitleInkLiesInsideItsBarAtBothScreenSizes)
{
    GLTest::UseGameData(VEXEL_DATA_DIR, false);
    const int width = 640, height = 200;
    std::unique_ptr<Vexel::Platform::GLContext> context = GLTest::CreateContext(width, height);
    ASSERT_NE(nullptr, context) << "no EGL pbuffer context";
    const float kBarRows = 70.0f, kClearRows = 2.0f;
    const char* const titles[] = {"Quickstart Mode", "Spawner Bosses", "Know Your Enemy", "How Many??",
                                  "Stage: Flanked"};
    for (float barHeight : {35.0f, 70.0f})
        for (const char* text : titles)
        {
            SCOPED_TRACE(std::string(text) + " in a bar " + std::to_string(int(barHeight)) + " px high");
            GLTest::SetUpFrame(width, height, Color(0, 0, 0, 255));
            NoFlush flush;
            const float top = 60.0f;
            const float barWidth = barHeight * 500.0f / kBarRows;
            Vexel::UI::Element root(
                ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(float(width), float(height))), 0);
            root.AddChild(new TitleBarText(
                ElementLayout(ElementPosition(Vector2((width - barWidth) / 2.0f, top)), Vector2(barWidth, barHeight)),
                text, kTitleColour, &flush));
            root.DrawTree(Vector2(0.0f, 0.0f), 1.0f);
            GL::Finish();
            const GLTest::Frame frame = GLTest::ReadFrame(width, height);
            int y0 = height, y1 = -1;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (frame.Brightness(x, y) > kLit)
                    {
                        y0 = std::min(y0, y);
                        y1 = std::max(y1, y);
                    }
            ASSERT_GE(y1, 0) << "nothing drawn";
            const float panelTop = top + barHeight * kClearRows / kBarRows;
            const float panelBottom = top + barHeight * (kBarRows - kClearRows) / kBarRows;
            EXPECT_GE(float(y0), panelTop + 1.0f) << "ink rows " << y0 << " to " << y1;
            EXPECT_LE(float(y1 + 1), panelBottom - 1.0f) << "ink rows " << y0 << " to " << y1;
        }
    ShutdownUIHelper();
}
