// One 10,000-quad sprite frame over three textures, built and submitted
// through a sprite batch of the game's capacity (512 quads): quads per
// second, CPU time per frame and draw calls per frame. Runs on the headless
// OpenGL ES 1.1 context, the seam recording nothing; the "null GL" run
// measures our own side alone (every GL call a no-op).
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureReference.h"
#include "engine/display/GLContext.h"
#include "tests/support/GLTestSupport.h"

#include <benchmark/benchmark.h>
#include <lodepng.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace Vexel::Graphics;
using Vexel::Graphics::Sprites::SpriteState;

namespace
{
const int kQuads = 10000;
const int kCapacity = 512;
const int kWidth = 320;
const int kHeight = 480;

struct Quad
{
    int texture;
    SpriteState state;
    int blendMode;
};

// The same scene every run: quads scattered over the screen, each on one of
// three textures, either in runs per texture or changing texture every quad.
std::vector<Quad> MakeScene(bool interleaved)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> x(0.0f, float(kWidth)), y(0.0f, float(kHeight)), size(4.0f, 24.0f),
        angle(0.0f, 6.2831853f);
    std::vector<Quad> quads;
    for (int i = 0; i < kQuads; ++i)
    {
        const int texture = interleaved ? i % 3 : i * 3 / kQuads;
        const float s = size(random);
        quads.push_back(Quad{texture,
                             SpriteState(Vexel::Rectangle(0, 0, 1, 1), x(random), y(random), s, s,
                                         angle(random), Color(255, 255, 255, 160)),
                             texture == 2 ? 2 : 1}); // the third texture drawn additively
    }
    return quads;
}

Texture MakeTexture(std::string const& name, uint8_t r, uint8_t g, uint8_t b)
{
    std::vector<uint8_t> rgba;
    for (int i = 0; i < 32 * 32; ++i)
        rgba.insert(rgba.end(), {r, g, b, uint8_t(i % 256)});
    std::vector<uint8_t> png;
    lodepng::encode(png, rgba, 32, 32);
    return Texture(name, png.data(), 0, int(png.size()), TextureMode::Immediate);
}

std::unique_ptr<Vexel::Platform::GLContext> g_context;

void SubmitFrame(Sprites::TransientBatch& batch, std::vector<Quad> const& quads, Texture const* textures)
{
    for (Quad const& quad : quads)
        batch.AddQuad(textures[quad.texture], quad.state, quad.blendMode);
    batch.Draw();
}

// Draw calls of one frame, counted on the recording seam outside the timing.
int CountDrawCalls(std::vector<Quad> const& quads, Texture const* textures)
{
    GL::Recorder recorder;
    Sprites::TransientBatch batch(kCapacity);
    SubmitFrame(batch, quads, textures);
    return recorder.Count("glDrawElements");
}

void Report(benchmark::State& state, int drawCalls)
{
    state.counters["quads_per_s"] =
        benchmark::Counter(double(kQuads) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["draw_calls_per_frame"] = drawCalls;
}

// Our side alone: the seam's start table, every GL call a no-op.
void BM_SpriteFrameNullGL(benchmark::State& state)
{
    const bool interleaved = state.range(0) != 0;
    const std::vector<Quad> quads = MakeScene(interleaved);
    // Uploaded references that need no GL.
    static TextureReference a("bench-null-a", 1, 32, 32, 0), b("bench-null-b", 2, 32, 32, 0),
        c("bench-null-c", 3, 32, 32, 0);
    const Texture textures[3] = {Texture(&a), Texture(&b), Texture(&c)};
    const int drawCalls = CountDrawCalls(quads, textures);
    Sprites::TransientBatch batch(kCapacity);
    for (auto _ : state)
        SubmitFrame(batch, quads, textures);
    Report(state, drawCalls);
}

void BM_SpriteFrameES1(benchmark::State& state)
{
    if (!g_context)
        g_context = GLTest::CreateContext(GLTest::ContextChoice::Headless, kWidth, kHeight);
    if (!g_context)
    {
        state.SkipWithError("no headless OpenGL ES 1.1 context");
        return;
    }
    const bool interleaved = state.range(0) != 0;
    const std::vector<Quad> quads = MakeScene(interleaved);
    static const Texture textures[3] = {MakeTexture("bench-red.png", 255, 60, 60),
                                        MakeTexture("bench-green.png", 60, 255, 60),
                                        MakeTexture("bench-blue.png", 60, 60, 255)};
    GLTest::SetUpFrame(kWidth, kHeight, Color(0, 0, 0, 255));
    const int drawCalls = CountDrawCalls(quads, textures);
    Sprites::TransientBatch batch(kCapacity);
    // Warm up: uploads, and the driver's first-use work, outside the timing.
    SubmitFrame(batch, quads, textures);
    GL::Finish();
    for (auto _ : state)
    {
        GL::Clear(GL_COLOR_BUFFER_BIT);
        SubmitFrame(batch, quads, textures);
        // Wait for the rasteriser so the wall time is the whole frame.
        GL::Finish();
    }
    Report(state, drawCalls);
    if (GL::CheckErrors(__FILE__, __LINE__, "sprite frame") != GL_NO_ERROR)
        state.SkipWithError("GL error");
}

// Registered in this order: the null-GL runs must come before the context
// exists (the context keeps the real table until the process ends).
BENCHMARK(BM_SpriteFrameNullGL)->ArgName("interleaved")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
// Wall time: the frame ends when the rasteriser (other threads) is done.
BENCHMARK(BM_SpriteFrameES1)
    ->ArgName("interleaved")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_context.reset();
    return 0;
}
