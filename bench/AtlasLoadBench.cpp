// Cold start of the game's art: from the Startup event, which creates the 21
// tile atlases (decoded on the thread pool, uploaded in the Animating phase),
// and the creation of the game's two fonts, until every atlas and both font
// textures are uploaded on a headless OpenGL ES 1.1 context. Wall time, the
// process's peak resident size (getrusage) and how much the peak and the
// resident size grew during the load. Textures and faces are cached for the
// whole process, so the load is cold only once: one iteration per process.
#include "bench/BenchSupport.h"
#include "engine/core/AppEvents.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/TextureReference.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/display/GLContext.h"
#include "engine/core/FrameEvents.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

using namespace Vexel::Graphics;
using namespace Vexel::Graphics::Type;

namespace
{
using Vexel::Bench::PeakResidentBytes;

const float kFrameTime = 1.0f / 30.0f;
const double kMiB = 1024.0 * 1024.0;
const char* const kFontFiles[2] = {"SegoeUI_24pt.type", "SegoeUI_24pt_outline.type"};

// Resident size now, in bytes; 0 when /proc cannot tell.
double ResidentBytes()
{
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0.0;
    const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
    std::fclose(statm);
    return read ? double(resident) * double(sysconf(_SC_PAGESIZE)) : 0.0;
}

bool AtlasesUploaded()
{
    for (Texture* texture : GetReferenceTextures())
        if (!texture->IsUploaded())
            return false;
    return !GetReferenceTextures().empty();
}

// No atlas, or one whose file was missing: the wait would never end.
bool AtlasesFailed()
{
    for (Texture* texture : GetReferenceTextures())
        if (texture->GetReference()->GetState() == TextureState::NoData)
            return true;
    return GetReferenceTextures().empty();
}

bool StillLoading(IFont const& font)
{
    return font.GetState() == TypeState::Pending || font.GetState() == TypeState::Loading;
}

void ColdLoadAtlasesAndFonts(benchmark::State& state)
{
    std::unique_ptr<Vexel::Platform::GLContext> context =
        GLTest::CreateContext(GLTest::ContextChoice::Headless, 64, 64);
    if (!context)
    {
        state.SkipWithError("no headless OpenGL ES 1.1 context");
        return;
    }
    GLTest::UseGameData(VEXEL_DATA_DIR);
    GetReferenceTiles(); // the table subscribes to Startup
    const double peakBefore = PeakResidentBytes(), residentBefore = ResidentBytes();
    int frames = 0;
    bool fontsReady = false;
    for (auto _ : state)
    {
        Vexel::AppEvents::Startup().Raise();
        std::unique_ptr<IFont> fonts[2] = {std::unique_ptr<IFont>(CreateFont(kFontFiles[0], 24.0f)),
                                           std::unique_ptr<IFont>(CreateFont(kFontFiles[1], 24.0f))};
        // The frame loop's Animating phase uploads the atlases decoded so
        // far; a font uploads its texture on this thread once its face is in.
        bool fontsDone = false;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while ((!AtlasesUploaded() || !fontsDone) && !AtlasesFailed() &&
               std::chrono::steady_clock::now() < giveUp)
        {
            Vexel::FrameEvents::Animating.Raise(kFrameTime);
            ++frames;
            if (!fontsDone && !StillLoading(*fonts[0]) && !StillLoading(*fonts[1]))
            {
                fontsReady = fonts[0]->Load() == TypeState::Ready && fonts[1]->Load() == TypeState::Ready;
                fontsDone = true;
            }
            std::this_thread::yield();
        }
    }
    const double peakAfter = PeakResidentBytes(), residentAfter = ResidentBytes();
    if (GetReferenceTextures().size() != 21 || !AtlasesUploaded())
        state.SkipWithError("the 21 atlases did not all upload (is the data folder there?)");
    else if (!fontsReady)
        state.SkipWithError("a font did not load");
    state.counters["atlases"] = double(GetReferenceTextures().size());
    state.counters["animating_phases"] = frames;
    state.counters["peak_rss_MiB"] = peakAfter / kMiB;
    state.counters["peak_growth_MiB"] = (peakAfter - peakBefore) / kMiB;
    state.counters["rss_growth_MiB"] = (residentAfter - residentBefore) / kMiB;
}
// One cold load per process: a second round would find everything cached.
BENCHMARK(ColdLoadAtlasesAndFonts)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
