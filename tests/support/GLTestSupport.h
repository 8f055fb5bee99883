// The plumbing of every test and benchmark that draws on a real GL context:
// the context itself (the headless ES 1.1 pbuffer, or the windowed context
// VEXEL_TEST_GL asks for), the shell's fixed GL state under a pixel
// projection with y pointing down, single-pixel probes, the whole frame read
// back top row first, PNG saving and pixel counts. Depends on vexel_display
// and LodePNG; free of any test framework, so benchmarks use it too.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Rectangle.h"
#include "engine/display/GLContext.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace GLTest
{

// Which context CreateContext makes: VEXEL_TEST_GL=headless (the default),
// window-es1 or window-desktop. The windowed ones need an X server.
struct ContextChoice
{
    enum Enum
    {
        Headless = 0,
        WindowEs1 = 1,
        WindowDesktop = 2,
        Unknown = 3, // VEXEL_TEST_GL holds something else
    };
};

ContextChoice::Enum ChosenContext();
// "headless-es1", "window-es1" or "window-desktop": names frames per context.
const char* ContextLabel(ContextChoice::Enum choice);
bool HaveDisplay();

// Null, with the reason on stderr, when the context cannot be made (for a
// windowed one also when DISPLAY is unset).
std::unique_ptr<Vexel::Platform::GLContext> CreateContext(ContextChoice::Enum choice, int width, int height);
// The context VEXEL_TEST_GL chose.
std::unique_ptr<Vexel::Platform::GLContext> CreateContext(int width, int height);

// The shell's fixed state (blend and textures on; culling, depth, alpha test
// and lighting off; alpha channel masked), an orthographic projection whose
// origin is the top-left pixel, the render-state cache brought in line with
// GL, and the frame cleared to the colour.
void SetUpFrame(int width, int height, Color clearColour);

struct Rgb
{
    int r, g, b;
};
std::ostream& operator<<(std::ostream& out, Rgb const& c);
bool IsNear(Rgb const& actual, Rgb const& expected, int tolerance);

// The pixel whose top-left corner is (x, y), y pointing down, in a frame of
// this height.
Rgb Probe(int x, int y, int frameHeight);

// A frame read back with glReadPixels: top row first, alpha forced to 255
// (GL returns destination alpha).
struct Frame
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    uint8_t const* Pixel(int x, int y) const { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
    int At(int x, int y, int channel) const { return Pixel(x, y)[channel]; }
    // The brightest channel.
    int Brightness(int x, int y) const;
    // The pixels of the area (clipped to the frame) that pass the test.
    int Count(Vexel::Rectangle const& area, std::function<bool(uint8_t const*)> const& test) const;
    int CountBrighterThan(Vexel::Rectangle const& area, int threshold) const;
    // False, with the reason on stderr, when the file cannot be written.
    bool SavePng(std::string const& path) const;
};

Frame ReadFrame(int width, int height);

} // namespace GLTest
