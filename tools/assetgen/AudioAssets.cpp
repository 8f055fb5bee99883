#include "tools/assetgen/AudioAssets.h"

#include "engine/core/Log.h"
#include "tools/assetgen/MusicGenerator.h"
#include "tools/assetgen/SoundGenerator.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace AssetGen
{

std::vector<std::string> AudioFileNames()
{
    std::vector<std::string> names;
    for (SoundAsset const& s : SoundAssets())
        names.push_back(s.name + ".wav");
    for (std::string const& t : MusicTracks())
        names.push_back(t + ".mp3");
    return names;
}

bool GenerateAudio(std::string const& directory, unsigned threads)
{
    // The tracks take longest: they go first so the effects fill the gaps.
    const size_t tracks = MusicTracks().size(), sounds = SoundAssets().size();
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    auto worker = [&]()
    {
        for (size_t job; (job = next++) < tracks + sounds;)
        {
            std::string error;
            auto started = std::chrono::steady_clock::now();
            bool ok = job < tracks ? GenerateTrack(directory, job, error)
                                   : GenerateSound(directory, job - tracks, error);
            long ms = long(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - started)
                               .count());
            std::string name =
                job < tracks ? MusicTracks()[job] + ".mp3" : SoundAssets()[job - tracks].name + ".wav";
            Vexel::Log::Verbose("assetgen", "%s made in %ld ms", name.c_str(), ms);
            if (!ok)
            {
                Vexel::Log::Error("assetgen", "%s", error.c_str());
                failed = true;
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < std::max(1u, threads); ++i)
        pool.emplace_back(worker);
    for (std::thread& t : pool)
        t.join();
    return !failed;
}

} // namespace AssetGen
