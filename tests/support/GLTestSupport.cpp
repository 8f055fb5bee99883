#include "tests/support/GLTestSupport.h"

#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"

#include <lodepng.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using Vexel::Platform::GLContext;
namespace GL = Vexel::Graphics::GL;
using Vexel::Graphics::RenderState;

namespace GLTest
{

namespace
{
const char* const kChoiceVariable = "VEXEL_TEST_GL";

struct ChoiceName
{
    ContextChoice::Enum choice;
    const char* name;  // in VEXEL_TEST_GL
    const char* label; // in frame names
    const char* shell; // COBALT_KEEP_GL for the windowed ones
};

const ChoiceName kChoices[] = {
    {ContextChoice::Headless, "headless", "headless-es1", nullptr},
    {ContextChoice::WindowEs1, "window-es1", "window-es1", "es1"},
    {ContextChoice::WindowDesktop, "window-desktop", "window-desktop", "desktop"},
};

ChoiceName const* Find(ContextChoice::Enum choice)
{
    for (ChoiceName const& c : kChoices)
        if (c.choice == choice)
            return &c;
    return nullptr;
}

// COBALT_KEEP_GL picks the windowed kind; the caller's value comes back after.
std::unique_ptr<GLContext> CreateWindowed(const char* shellChoice, int width, int height)
{
    const char* old = std::getenv("COBALT_KEEP_GL");
    const std::string saved = old ? old : "";
    setenv("COBALT_KEEP_GL", shellChoice, 1);
    std::unique_ptr<GLContext> context(GLContext::CreateWindowed(width, height));
    if (old)
        setenv("COBALT_KEEP_GL", saved.c_str(), 1);
    else
        unsetenv("COBALT_KEEP_GL");
    return context;
}
} // namespace

ContextChoice::Enum ChosenContext()
{
    const char* value = std::getenv(kChoiceVariable);
    if (!value || !*value)
        return ContextChoice::Headless;
    for (ChoiceName const& c : kChoices)
        if (std::strcmp(value, c.name) == 0)
            return c.choice;
    return ContextChoice::Unknown;
}

const char* ContextLabel(ContextChoice::Enum choice)
{
    ChoiceName const* c = Find(choice);
    return c ? c->label : "unknown";
}

bool HaveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display;
}

std::unique_ptr<GLContext> CreateContext(ContextChoice::Enum choice, int width, int height)
{
    ChoiceName const* c = Find(choice);
    if (!c)
    {
        std::fprintf(stderr, "GLTest: %s=\"%s\" is none of headless, window-es1, window-desktop\n",
                     kChoiceVariable, std::getenv(kChoiceVariable) ? std::getenv(kChoiceVariable) : "");
        return nullptr;
    }
    if (!c->shell)
        return std::unique_ptr<GLContext>(GLContext::CreateHeadless(width, height));
    if (!HaveDisplay())
    {
        std::fprintf(stderr, "GLTest: the %s context needs an X server (DISPLAY is unset)\n", c->label);
        return nullptr;
    }
    std::unique_ptr<GLContext> context = CreateWindowed(c->shell, width, height);
    if (context && int(context->GetKind()) != int(choice))
    {
        std::fprintf(stderr, "GLTest: asked for %s, got context kind %d\n", c->label,
                     int(context->GetKind()));
        return nullptr;
    }
    return context;
}

std::unique_ptr<GLContext> CreateContext(int width, int height)
{
    return CreateContext(ChosenContext(), width, height);
}

void SetUpFrame(int width, int height, Color clearColour)
{
    GL::Viewport(0, 0, width, height);
    GL::MatrixMode(GL_PROJECTION);
    GL::LoadIdentity();
    GL::Orthof(0.0f, float(width), float(height), 0.0f, -1.0f, 1.0f);
    GL::MatrixMode(GL_MODELVIEW);
    GL::LoadIdentity();
    GL::Enable(GL_BLEND);
    GL::Enable(GL_TEXTURE_2D);
    GL::Disable(GL_CULL_FACE);
    GL::Disable(GL_DEPTH_TEST);
    GL::Disable(GL_ALPHA_TEST);
    GL::Disable(GL_LIGHTING);
    GL::ColorMask(1, 1, 1, 0);
    // The cache starts at blend mode 1 and no client arrays without telling
    // GL: make GL match it by switching every value away and back.
    RenderState::ResetCache();
    RenderState::SetBlendEnabled(false);
    RenderState::SetBlendEnabled(true);
    RenderState::SetBlendMode(2);
    RenderState::SetBlendMode(1);
    RenderState::SetClientArrays(true, true, true);
    RenderState::SetClientArrays(false, false, false);
    GL::ClearColor(clearColour.r / 255.0f, clearColour.g / 255.0f, clearColour.b / 255.0f, 1.0f);
    GL::Clear(GL_COLOR_BUFFER_BIT);
}

std::ostream& operator<<(std::ostream& out, Rgb const& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

bool IsNear(Rgb const& actual, Rgb const& expected, int tolerance)
{
    return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

Rgb Probe(int x, int y, int frameHeight)
{
    uint8_t p[4] = {0, 0, 0, 0};
    GL::ReadPixels(x, frameHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}

int Frame::Brightness(int x, int y) const
{
    uint8_t const* p = Pixel(x, y);
    return std::max(p[0], std::max(p[1], p[2]));
}

int Frame::Count(Vexel::Rectangle const& area, std::function<bool(uint8_t const*)> const& test) const
{
    int count = 0;
    for (int y = std::max(0, int(area.y)); y < std::min(height, int(area.Bottom())); ++y)
        for (int x = std::max(0, int(area.x)); x < std::min(width, int(area.Right())); ++x)
            count += test(Pixel(x, y)) ? 1 : 0;
    return count;
}

int Frame::CountBrighterThan(Vexel::Rectangle const& area, int threshold) const
{
    return Count(area,
                 [threshold](uint8_t const* p) { return std::max(p[0], std::max(p[1], p[2])) > threshold; });
}

bool Frame::SavePng(std::string const& path) const
{
    const unsigned error = lodepng::encode(path, rgba, unsigned(width), unsigned(height));
    if (error != 0)
        std::fprintf(stderr, "GLTest: could not save %s: %s\n", path.c_str(), lodepng_error_text(error));
    return error == 0;
}

Frame ReadFrame(int width, int height)
{
    Frame frame;
    frame.width = width;
    frame.height = height;
    const size_t row = size_t(width) * 4;
    std::vector<uint8_t> raw(row * size_t(height));
    GL::ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    frame.rgba.resize(raw.size());
    for (int y = 0; y < height; ++y)
        std::copy(raw.begin() + long(size_t(height - 1 - y) * row),
                  raw.begin() + long(size_t(height - y) * row), frame.rgba.begin() + long(size_t(y) * row));
    for (size_t i = 3; i < frame.rgba.size(); i += 4)
        frame.rgba[i] = 255;
    return frame;
}

} // namespace GLTest
