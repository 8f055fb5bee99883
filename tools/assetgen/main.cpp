// assetgen: makes every image and font the game reads, and the engine's tile
// table source, from tools/assetgen/tiles.manifest. Run by the build:
//   assetgen --manifest M --data DIR --table FILE --font TTF [--testdata DIR]
//   assetgen --audio DIR      (the sound effects and music alone)
// Atlases are painted on parallel threads; each output is deterministic.
#include "engine/core/Log.h"
#include "tools/assetgen/Art.h"
#include "tools/assetgen/AudioAssets.h"
#include "tools/assetgen/AtlasBuilder.h"
#include "tools/assetgen/Manifest.h"
#include "tools/assetgen/TestTextures.h"
#include "tools/assetgen/TextRenderer.h"
#include "tools/assetgen/TileTableWriter.h"

#include "tools/assetgen/FontGenerator.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace AssetGen;

namespace
{

struct Options
{
    std::string manifest, data, table, font, testdata, audio;
};

bool ParseOptions(int argc, char** argv, Options& o)
{
    for (int i = 1; i + 1 < argc; i += 2)
    {
        std::string key = argv[i], value = argv[i + 1];
        if (key == "--manifest")
            o.manifest = value;
        else if (key == "--data")
            o.data = value;
        else if (key == "--table")
            o.table = value;
        else if (key == "--font")
            o.font = value;
        else if (key == "--testdata")
            o.testdata = value;
        else if (key == "--audio")
            o.audio = value;
        else
            return false;
    }
    bool art = !o.manifest.empty() && !o.data.empty() && !o.table.empty() && !o.font.empty();
    bool audioOnly = !o.audio.empty() && o.manifest.empty() && o.data.empty() && o.table.empty() && o.font.empty();
    return (argc % 2) == 1 && (art || audioOnly);
}

} // namespace

int main(int argc, char** argv)
{
    Options opt;
    if (!ParseOptions(argc, argv, opt))
    {
        Vexel::Log::Error("usage", "assetgen --manifest FILE --data DIR --table FILE.cpp --font FILE.ttf [--testdata DIR]");
        Vexel::Log::Error("usage", "assetgen --audio DIR");
        return 2;
    }
    if (!opt.audio.empty())
        return GenerateAudio(opt.audio, std::max(1u, std::min(8u, std::thread::hardware_concurrency()))) ? 0 : 1;
    Manifest manifest;
    std::string error;
    if (!LoadManifest(opt.manifest, manifest, error) || !ValidateManifest(manifest, error))
    {
        Vexel::Log::Error("assetgen", "%s: %s", opt.manifest.c_str(), error.c_str());
        return 1;
    }
    if (!WriteTileTableSource(manifest, opt.table, error))
    {
        Vexel::Log::Error("assetgen", "%s", error.c_str());
        return 1;
    }

    // Jobs: every atlas (largest first, for balance), the splash, test data.
    std::vector<int> jobs;
    for (size_t i = 0; i < manifest.atlases.size(); ++i)
        jobs.push_back(int(i));
    std::stable_sort(jobs.begin(), jobs.end(),
                     [&](int a, int b)
                     {
                         auto const &x = manifest.atlases[size_t(a)], &y = manifest.atlases[size_t(b)];
                         return x.width * x.height > y.width * y.height;
                     });
    const int splashJob = -1, testJob = -2;
    jobs.insert(jobs.begin() + 1, splashJob);
    if (!opt.testdata.empty())
        jobs.push_back(testJob);

    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex report;
    auto worker = [&]()
    {
        TextRenderer text(opt.font);
        if (!text.Ok())
        {
            failed = true;
            return;
        }
        for (size_t j; (j = next++) < jobs.size();)
        {
            std::string err;
            bool ok = true;
            int job = jobs[j];
            if (job == splashJob)
            {
                Canvas canvas(512, 1024);
                PaintSplash(canvas, text);
                ok = WritePng(opt.data + "/default_pot.png", ToRgba(canvas, false), 512, 1024, err);
            }
            else if (job == testJob)
                ok = WriteTestTextures(opt.testdata, err);
            else
            {
                AtlasSpec const& a = manifest.atlases[size_t(job)];
                std::vector<uint8_t> rgba;
                ok = BuildAtlas(manifest, job, text, rgba, err);
                if (ok)
                    ok = WritePng(opt.data + "/" + a.name + ".png", rgba, a.width, a.height, err);
            }
            if (!ok)
            {
                std::lock_guard<std::mutex> lock(report);
                Vexel::Log::Error("assetgen", "%s", err.c_str());
                failed = true;
            }
        }
    };
    unsigned threads = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < threads; ++i)
        pool.emplace_back(worker);

    // The two bitmap fonts, meanwhile on this thread.
    if (!GenerateFonts(opt.data))
        failed = true;

    for (auto& t : pool)
        t.join();
    return failed ? 1 : 0;
}
