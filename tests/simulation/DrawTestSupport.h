// Plumbing for the tests that draw the world on a real OpenGL ES 1.1
// context: the screen metrics and the context for a frame size, the game's
// atlases, one frame drawn as the shell would (cleared to the flash colour,
// the world drawn into the whole screen), and the draw calls of a frame
// counted through the recording GL seam.
#pragma once

#include "engine/core/AppEvents.h"
#include "engine/core/Platform.h"
#include "engine/core/Rectangle.h"
#include "engine/display/GLContext.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/ReferenceTiles.h"
#include "game/simulation/Flash.h"
#include "game/simulation/Simulation.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"

#include <memory>
#include <string>

namespace DrawTest
{

const float kFrame = 1.0f / 30.0f;

// The largest frame drawn: every size is drawn into the lower left corner
// of one surface.
const int kMaxWidth = 640;
const int kMaxHeight = 960;

// One headless ES 1.1 context for the whole program: the atlas textures are
// uploaded once, into the first context, and stay there (a second context
// would not know their names). Never destroyed: it is needed to the end.
inline bool SharedContextReady()
{
    static Vexel::Platform::GLContext* context = GLTest::CreateContext(kMaxWidth, kMaxHeight).release();
    return context != nullptr;
}

// A phone's screen: the screen metrics set to match (before any Simulation
// is made: its HUD scale, view and star field read them), the DPI doubling
// with the size as a phone's would, and the game's atlases.
class Screen
{
public:
    Screen(int width, int height) : width(width), height(height)
    {
        const float dpi = 160.0f * float(width) / 320.0f;
        Vexel::Platform::SetScreenMetrics(width, height, Vector2(dpi, dpi));
        ready = width <= kMaxWidth && height <= kMaxHeight && SharedContextReady();
        GLTest::UseGameData(VEXEL_DATA_DIR);
        // The tile table makes its atlas textures once, on the first Startup.
        Vexel::AppEvents::Startup().Raise();
    }

    ~Screen() { Vexel::Platform::SetScreenMetrics(320, 480, Vector2(0.0f, 0.0f)); }

    bool Ready() const { return ready; }
    Vexel::Rectangle Area() const { return Vexel::Rectangle(0.0f, 0.0f, float(width), float(height)); }

    // One frame: the flash step, the clear to its colour, the world.
    void DrawFrame(Simulation& sim, float alpha = 1.0f) const
    {
        UpdateFlash(kFrame);
        GLTest::SetUpFrame(width, height, GetFlashColour());
        sim.Draw(Area(), alpha);
        Vexel::Graphics::GL::Finish();
    }

    GLTest::Frame Read() const { return GLTest::ReadFrame(width, height); }

    std::string SavePng(std::string const& name) const
    {
        const std::string path = std::string(VEXEL_TEST_OUTPUT_DIR) + "/" + name + "-" +
                                 std::to_string(width) + "x" + std::to_string(height) + ".png";
        return Read().SavePng(path) ? path : std::string();
    }

    const int width;
    const int height;

private:
    bool ready;
};

// Draw calls (glDrawElements and glDrawArrays) of one Draw, on the
// recording seam; the context's own table comes back afterwards. Draw a real
// frame first: a texture first uploaded under the recorder would keep a
// made-up name.
inline int CountDrawCalls(Simulation& sim, Vexel::Rectangle const& area, float alpha = 1.0f)
{
    Vexel::Graphics::GL::Recorder recorder;
    sim.Draw(area, alpha);
    return recorder.Count("glDrawElements") + recorder.Count("glDrawArrays");
}

} // namespace DrawTest
