// Wall time of generating every asset the game reads: the 21 atlases, the
// splash, both fonts, the tile table source and the test textures, by
// running the build's own assetgen into a scratch folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

void GenerateAllAssets(benchmark::State& state)
{
    char pattern[] = "/tmp/assetgen_bench_XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir)
    {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string out(dir);
    const std::string command = std::string("\"") + ASSETGEN_EXECUTABLE + "\" --manifest \"" +
                                ASSETGEN_MANIFEST + "\" --data \"" + out + "\" --table \"" + out +
                                "/table.cpp\" --font \"" + ASSETGEN_FONT + "\" --testdata \"" + out + "\"";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
        {
            state.SkipWithError("assetgen failed");
            break;
        }
    std::system(("rm -rf \"" + out + "\"").c_str());
}

} // namespace

BENCHMARK(GenerateAllAssets)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
