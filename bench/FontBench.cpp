// Font figures: laying out and measuring 10,000 characters, and cold-loading
// the game's two fonts on the thread pool (wall time from creating the fonts
// to both faces decoded and their textures uploaded on a headless ES 1.1
// context).
#include "engine/core/Log.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/graphics/type/Typeface.h"
#include "engine/display/GLContext.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/TempDirectory.h"
#include "tools/assetgen/FontGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

using namespace Vexel::Graphics;
using namespace Vexel::Graphics::Type;

namespace
{

const int kCharacters = 10000;

// Fonts generated once per process into a directory removed at exit.
std::string const& FontDirectory()
{
    static TempDirectory directory;
    static const bool generated = !directory.Path().empty() && GenerateFonts(directory.Path());
    if (!generated)
    {
        Vexel::Log::Error("bench", "could not generate the fonts");
        std::exit(1);
    }
    return directory.Path();
}

std::string SampleText()
{
    const std::string words[] = {"Wave",  "12",      "Hive",   "Lives:",  "1,234", "Red",
                                 "fleet", "closing", "in.",    "Score",   "x3",    "Gauntlet",
                                 "Order", "planet",  "cannon", "charged!"};
    std::string text;
    for (size_t i = 0; text.size() < size_t(kCharacters); ++i)
    {
        text += words[i % 16];
        text += (i % 9 == 8) ? '\n' : ' ';
    }
    text.resize(size_t(kCharacters));
    return text;
}

void LayoutTenThousandCharacters(benchmark::State& state)
{
    std::unique_ptr<IFont> font(CreateFont(FontDirectory() + "/SegoeUI_24pt.type", 16.0f));
    font->Load();
    const std::string text = SampleText();
    LinotypeBatch batch(kCharacters);
    for (auto _ : state)
    {
        batch.Clear();
        benchmark::DoNotOptimize(font->Layout(batch, text, Vector2(0.0f, 0.0f), Color(255, 255, 255, 255)));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kCharacters);
    state.counters["quads"] = batch.GetCharacterCount();
}
BENCHMARK(LayoutTenThousandCharacters);

void MeasureTenThousandCharacters(benchmark::State& state)
{
    std::unique_ptr<IFont> font(CreateFont(FontDirectory() + "/SegoeUI_24pt.type", 16.0f));
    font->Load();
    const std::string text = SampleText();
    for (auto _ : state)
        benchmark::DoNotOptimize(font->Measure(text));
    state.SetItemsProcessed(int64_t(state.iterations()) * kCharacters);
}
BENCHMARK(MeasureTenThousandCharacters);

// Faces are cached by name for the whole process, so every round loads
// fresh copies of the two files.
void ColdLoadTwoFontsOnThePool(benchmark::State& state)
{
    std::unique_ptr<Vexel::Platform::GLContext> context =
        GLTest::CreateContext(GLTest::ContextChoice::Headless, 64, 64);
    static int round = 0; // names never repeat, not even across repetitions
    for (auto _ : state)
    {
        state.PauseTiming();
        std::string names[2];
        const char* sources[2] = {"/SegoeUI_24pt.type", "/SegoeUI_24pt_outline.type"};
        for (int i = 0; i < 2; ++i)
        {
            names[i] = FontDirectory() + "/cold_" + std::to_string(round) + "_" + std::to_string(i) + ".type";
            std::filesystem::copy_file(FontDirectory() + sources[i], names[i],
                                       std::filesystem::copy_options::overwrite_existing);
        }
        ++round;
        state.ResumeTiming();

        std::unique_ptr<IFont> fonts[2] = {std::unique_ptr<IFont>(CreateFont(names[0], 16.0f)),
                                           std::unique_ptr<IFont>(CreateFont(names[1], 16.0f))};
        // Let the pool do the loading; then finish on this thread, which
        // uploads the textures.
        for (auto& font : fonts)
            while (font->GetState() == TypeState::Pending || font->GetState() == TypeState::Loading)
                std::this_thread::yield();
        for (auto& font : fonts)
            if (font->Load() != TypeState::Ready)
                state.SkipWithError("a font did not load");
    }
    state.counters["uploaded"] = context ? 1 : 0;
}
BENCHMARK(ColdLoadTwoFontsOnThePool)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
