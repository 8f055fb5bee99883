// Text drawn on a real OpenGL ES 1.1 context (EGL pbuffer) with the game's
// generated fonts: a HUD line, a wrapped paragraph and a title drawn with the
// plain face and the outline face over the same quads. The frame is saved as
// "text_sample.png" in the build folder so a person can look at it.
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/graphics/type/LinotypeBatchImpl.h"
#include "engine/display/GLContext.h"
#include "tests/graphics/TypeFileBuilder.h"
#include "tests/support/GLTestSupport.h"
#include "tools/assetgen/FontGenerator.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace Vexel::Graphics;
using Vexel::Rectangle;
using namespace Vexel::Graphics::Type;

namespace
{

const int kWidth = 480;
const int kHeight = 400;

// Breaks the text at blanks so no line is wider than the width.
std::string Wrap(IFont& font, std::string const& text, float width)
{
    std::istringstream words(text);
    std::string word, line, out;
    while (words >> word)
    {
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && font.Measure(candidate).x > width)
        {
            out += line + "\n";
            line = word;
        }
        else
            line = candidate;
    }
    return out + line;
}

} // namespace

TEST(TextRenderTest, DrawsTheGeneratedFontsOnEs11)
{
    std::unique_ptr<Vexel::Platform::GLContext> context = GLTest::CreateContext(kWidth, kHeight);
    ASSERT_NE(nullptr, context) << "no EGL pbuffer context";
    const std::string dir = TypeFileTesting::ScratchDirectoryPath();
    ASSERT_TRUE(GenerateFonts(dir));

    std::unique_ptr<IFont> hud(CreateFont(dir + "/SegoeUI_24pt.type", 24.0f));
    std::unique_ptr<IFont> body(CreateFont(dir + "/SegoeUI_24pt.type", 16.0f));
    std::unique_ptr<IFont> title(CreateFont(dir + "/SegoeUI_24pt.type", 40.0f));
    std::unique_ptr<IFont> titleOutline(CreateFont(dir + "/SegoeUI_24pt_outline.type", 40.0f));
    for (IFont* font : {hud.get(), body.get(), title.get(), titleOutline.get()})
        ASSERT_EQ(TypeState::Ready, font->Load());

    // The HUD's lines: "Lives: " and the population in one layout; the
    // multiplier, then the score starting at the pen that layout returned.
    LinotypeBatch hudText(64), scoreText(64), bodyText(512), titleText(32), outlineText(32), ringText(16),
        ringOutline(16);
    hud->Layout(hudText, std::string("Lives: 1,234"), Vector2(16.0f, 36.0f), Color(160, 220, 255, 255));
    const Vector2 scoreAt(300.0f, 36.0f);
    const Vector2 pen = hud->LayoutText(scoreText, std::string("x5  "), scoreAt, Color(255, 230, 120, 204));
    hud->Layout(scoreText, std::string("12,345"), Vector2(pen.x, scoreAt.y), Color(255, 230, 120, 255));

    const std::string paragraph = Wrap(
        *body,
        "Defend the planet at the centre of the screen. Touch to aim, double tap to place a target lock, and "
        "save the planet cannon for when the Red and Green fleets close in. Every enemy that reaches the "
        "surface costs lives and cuts your multiplier to three quarters.",
        448.0f);
    body->Layout(bodyText, paragraph, Vector2(16.0f, 84.0f), Color(220, 220, 220, 255));

    // A title as the title bars draw it: the plain face, then the outline
    // face's texture over the same quads, both added.
    const Vector2 titleSize = title->Measure(std::string("Cobalt Keep"));
    const Vector2 titleAt((kWidth - titleSize.x) * 0.5f, 270.0f);
    title->Layout(titleText, std::string("Cobalt Keep"), titleAt, Color(120, 200, 255, 180));
    titleOutline->Layout(outlineText, std::string("Cobalt Keep"), titleAt, Color(40, 120, 255, 200));
    // A probe in pure colours: ink green, ring red.
    const Vector2 ringAt(16.0f, 360.0f);
    title->Layout(ringText, std::string("Ring"), ringAt, Color(0, 255, 0, 255));
    titleOutline->Layout(ringOutline, std::string("Ring"), ringAt, Color(255, 0, 0, 255));

    // The outline face's quads land exactly on the plain face's.
    ASSERT_EQ(titleText.GetCharacterCount(), outlineText.GetCharacterCount());
    for (int i = 0; i < titleText.GetCharacterCount() * 4; ++i)
    {
        EXPECT_EQ(titleText.GetImpl()->buffer->GetVertices()[i].x,
                  outlineText.GetImpl()->buffer->GetVertices()[i].x);
        EXPECT_EQ(titleText.GetImpl()->buffer->GetVertices()[i].y,
                  outlineText.GetImpl()->buffer->GetVertices()[i].y);
    }

    GLTest::SetUpFrame(kWidth, kHeight, Color(0, 0, 0, 255));

    hudText.Draw();
    scoreText.Draw();
    bodyText.Draw();
    ringText.Draw();
    ringOutline.Draw();
    RenderState::SetBlendMode(2);
    titleText.Draw();
    outlineText.Draw();
    RenderState::SetBlendMode(1);
    GL::Finish();
    EXPECT_EQ(GLenum(GL_NO_ERROR), GL::CheckErrors(__FILE__, __LINE__, "text frame"));

    const GLTest::Frame frame = GLTest::ReadFrame(kWidth, kHeight);
    const std::string png = std::string(VEXEL_TEST_OUTPUT_DIR) + "/text_sample.png";
    EXPECT_TRUE(frame.SavePng(png)) << png;

    // Text shows inside its bounds and nowhere else; descenders and the
    // ring reach below a line's bounds (which are a font size tall) by up
    // to 9 face pixels, and past the last pen position (the bounds' right
    // edge) by the ink's offset and the ring's room, 5 face pixels.
    struct Area
    {
        LinotypeBatch const* batch;
        float scale;
    };
    const Area areas[] = {{&hudText, 1.0f},
                          {&scoreText, 1.0f},
                          {&bodyText, 16.0f / 24.0f},
                          {&titleText, 40.0f / 24.0f},
                          {&ringText, 40.0f / 24.0f}};
    std::vector<Rectangle> reach;
    for (Area const& area : areas)
    {
        const Rectangle b = area.batch->GetBounds();
        EXPECT_GT(frame.CountBrighterThan(b, 128), int(b.width * b.height * 0.04f));
        reach.push_back(Rectangle(b.x - 1.0f, b.y - 1.0f, b.width + 5.0f * area.scale + 2.0f,
                                  b.height + 9.0f * area.scale + 2.0f));
    }
    int stray = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            bool inside = false;
            for (Rectangle const& r : reach)
                inside = inside || (x >= r.x && x < r.Right() && y >= r.y && y < r.Bottom());
            if (frame.Brightness(x, y) > 0 && !inside)
                ++stray;
        }
    EXPECT_EQ(0, stray);
    // The score continued at P.x plus the width of the first layout.
    EXPECT_FLOAT_EQ(scoreAt.x + hud->Measure(std::string("x5  ")).x, pen.x);
    EXPECT_FLOAT_EQ(pen.x + hud->Measure(std::string("12,345")).x, scoreText.GetBounds().Right());
    // The paragraph wrapped into several lines within its width.
    EXPECT_GE(bodyText.GetBounds().height, 16.0f + 3.0f * body->GetLineSpacing());
    EXPECT_LE(bodyText.GetBounds().width, 448.0f);
    // The ring shows just outside the ink: on the row through the middle of
    // the R, red comes before the first green.
    const int midY = int(ringAt.y - title->GetVerticalOffset() * 0.35f);
    int firstInk = -1;
    for (int x = int(ringAt.x); x < kWidth && firstInk < 0; ++x)
        if (frame.At(x, midY, 1) > 128)
            firstInk = x;
    ASSERT_GT(firstInk, int(ringAt.x));
    bool ringBefore = false;
    for (int x = firstInk - 4; x < firstInk; ++x)
        ringBefore = ringBefore || (frame.At(x, midY, 0) > 64 && frame.At(x, midY, 0) > frame.At(x, midY, 1));
    EXPECT_TRUE(ringBefore);
}
