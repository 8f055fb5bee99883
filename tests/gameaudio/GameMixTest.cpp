// The game's sounds and music as the player hears them: played through the
// real mixer (the game's sound set, the effects layer with its voices and
// stealing, SDL_mixer's MP3 decoding and mixing) on SDL's disk driver, and
// the captured output measured.
//
// A script on the mixer thread (SDL_mixer's post-mix hook) makes every play
// at a chunk boundary while the main thread only waits, so a run gives the
// same samples however fast or loaded the machine is. Set
// VEXEL_MIX_REPORT=1 to print the figures.
#include "engine/audio/AudioDevice.h"
#include "engine/audio/MusicObject.h"
#include "engine/audio/SoundEffects.h"
#include "engine/core/FrameEvents.h"
#include "game/audio/GameSounds.h"

#include "tests/support/TempDirectory.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

using namespace Vexel::Audio;

namespace
{

const int kRate = 44100;
const int kMp3FrameSamples = 1152;
const char* const kTracks[4] = {"Menu", "InGame", "Tutorial", "Win"};

bool Reporting()
{
    const char* report = std::getenv("VEXEL_MIX_REPORT");
    return report && *report && *report != '0';
}

double Dbfs(double level)
{
    return 20.0 * std::log10(std::max(level, 1e-9) / 32768.0);
}

std::vector<uint8_t> ReadFile(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// MPEG-1 layer III frames in the file (the music is constant bit rate
// without tags, so every frame header follows the last frame).
size_t CountMp3Frames(std::vector<uint8_t> const& b)
{
    static const int kKbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kRates[4] = {44100, 48000, 32000, 0};
    size_t frames = 0, at = 0;
    while (at + 4 <= b.size() && b[at] == 0xFF && (b[at + 1] & 0xFE) == 0xFA)
    {
        const int kbps = kKbps[b[at + 2] >> 4], rate = kRates[(b[at + 2] >> 2) & 3];
        const int padding = (b[at + 2] >> 1) & 1;
        if (kbps == 0 || rate == 0)
            break;
        at += size_t(144 * kbps * 1000 / rate + padding);
        ++frames;
    }
    return at == b.size() ? frames : 0;
}

// One run of the mixer: the device open on the disk driver, a script that
// the mixer thread calls with the frame at which the next chunk starts, and
// what it mixed from the first of those chunks on, as the disk driver
// wrote it.
class MixRun
{
public:
    using Script = std::function<bool(long frame)>; // false: finished

    explicit MixRun(TempDirectory& directory) : file(directory.File("capture.raw"))
    {
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    }

    // Opens the device (with the effects layer at full volume and the
    // game's 8 voices when asked: once a process, its shutdown is final),
    // runs the script to its end and closes the device; the capture is
    // then in Frames().
    void Run(bool effects, Script const& run, std::function<void()> const& prepare,
             std::function<void()> const& finish)
    {
        if (effects)
        {
            setenv("COBALT_KEEP_DATA", VEXEL_DATA_DIR, 1);
            SoundEffects::Initialize(8, true);
            ASSERT_TRUE(SoundEffects::IsActive());
        }
        ASSERT_TRUE(AudioDevice::Acquire());
        ASSERT_EQ(AudioDevice::GetOutputRate(), kRate);
        prepare();
        script = run;
        Mix_SetPostMix(&MixRun::PostMix, this);
        armed = true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!finished && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_TRUE(finished) << "the mixer did not get through the script";
        Mix_SetPostMix(nullptr, nullptr);
        finish();
        if (effects)
            SoundEffects::Shutdown();
        AudioDevice::Release();
        ASSERT_EQ(AudioDevice::GetReferenceCount(), 0);

        // What the mixer handed the device is what the disk driver wrote:
        // find it in the capture (the driver writes on its own schedule, so
        // the file may start earlier and lack the last buffer).
        std::vector<uint8_t> bytes = ReadFile(file);
        std::remove(file.c_str());
        size_t first = 0;
        while (first < frames.size() && frames[first] == 0)
            ++first;
        ASSERT_LT(first + 256, frames.size()) << "nothing was mixed";
        auto const* mixed = reinterpret_cast<const uint8_t*>(frames.data());
        auto found = std::search(bytes.begin(), bytes.end(), mixed + 2 * first, mixed + 2 * first + 512);
        ASSERT_TRUE(found != bytes.end()) << "the disk driver's capture lacks the mix";
        ASSERT_GE(size_t(found - bytes.begin()), 2 * first);
        const size_t offset = size_t(found - bytes.begin()) - 2 * first;
        const size_t common = std::min(bytes.size() - offset, frames.size() * 2);
        EXPECT_GT(common, frames.size() * 2 * 9 / 10);
        EXPECT_EQ(std::memcmp(bytes.data() + offset, mixed, common), 0) << "the capture differs from the mix";
    }

    // Interleaved 16-bit stereo from the script's frame 0 to its end.
    std::vector<int16_t> const& Frames() const { return frames; }

private:
    static void PostMix(void* self, Uint8* stream, int len)
    {
        static_cast<MixRun*>(self)->Chunk(reinterpret_cast<const int16_t*>(stream), len / 4);
    }

    // The chunk just mixed; what the script does now sounds from the next.
    void Chunk(const int16_t* stream, int length)
    {
        if (!armed || finished)
            return;
        if (started)
        {
            frames.insert(frames.end(), stream, stream + 2 * length);
            frame += length;
        }
        started = true;
        if (!script(frame))
            finished = true;
    }

    std::string file;
    Script script;
    std::atomic<bool> armed{false}, finished{false};
    bool started = false;
    long frame = 0;
    std::vector<int16_t> frames;
};

// A loop of the game's music, loaded and played at full volume by the music
// object as the command thread does.
struct MusicPlayer
{
    MusicObject* music = nullptr;
    void Load(std::string const& name)
    {
        music = MusicObject::Create();
        ASSERT_NE(music, nullptr);
        ASSERT_EQ(music->Load(std::string(VEXEL_DATA_DIR) + "/" + name + ".mp3", 1), 0);
        music->SetVolume(1.0f);
    }
    void Play() { music->Play(); }
    void Unload()
    {
        delete music;
        music = nullptr;
    }
};

// xorshift: the script's own dice.
struct Dice
{
    uint64_t state = 88172645463325252ull;
    double Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return double(state >> 11) / 9007199254740992.0;
    }
};

struct Clipping
{
    long clipped = 0, episodes = 0;
    int peak = 0;
};

// Samples at either end of the 16-bit range, and runs of them at most
// 10 ms apart counted as one episode.
Clipping MeasureClipping(std::vector<int16_t> const& s)
{
    Clipping c;
    long last = -1000000;
    for (size_t i = 0; i < s.size(); ++i)
    {
        const int v = s[i];
        c.peak = std::max(c.peak, std::abs(v));
        if (v >= 32767 || v <= -32767)
        {
            const long frame = long(i / 2);
            if (frame - last > kRate / 100)
                ++c.episodes;
            last = frame;
            ++c.clipped;
        }
    }
    return c;
}

struct Seam
{
    double silenceMs = 0, levelBefore = -200, levelAfter = -200;
    int step = 0, stepsBefore = 0; // the largest sample steps at and before the seam
};

// Around the frame where the stream starts again: the longest run of
// silence (1 ms blocks below -60 dBFS) and the level of the 50 ms before
// and after that run (or the seam itself when there is none).
Seam MeasureSeam(std::vector<int16_t> const& s, long seam)
{
    const long block = kRate / 1000, window = kRate / 10;
    auto rms = [&](long from, long to)
    {
        double sum = 0;
        long n = 0;
        for (long f = std::max(0L, from); f < to && 2 * f + 1 < long(s.size()); ++f, ++n)
            sum += double(s[size_t(2 * f)]) * s[size_t(2 * f)] +
                   double(s[size_t(2 * f + 1)]) * s[size_t(2 * f + 1)];
        return n ? std::sqrt(sum / double(2 * n)) : 0.0;
    };
    long bestFrom = seam, bestTo = seam, runFrom = -1;
    for (long f = seam - window; f <= seam + window; f += block)
    {
        const bool silent = Dbfs(rms(f, f + block)) < -60.0;
        if (silent && runFrom < 0)
            runFrom = f;
        if ((!silent || f + block > seam + window) && runFrom >= 0)
        {
            const long runTo = silent ? f + block : f;
            if (runTo - runFrom > bestTo - bestFrom)
                bestFrom = runFrom, bestTo = runTo;
            runFrom = -1;
        }
    }
    Seam result;
    result.silenceMs = double(bestTo - bestFrom) * 1000.0 / kRate;
    result.levelBefore = Dbfs(rms(bestFrom - kRate / 20, bestFrom));
    result.levelAfter = Dbfs(rms(bestTo, bestTo + kRate / 20));
    auto largestStep = [&](long from, long to)
    {
        int largest = 0;
        for (long f = std::max(1L, from); f < to && 2 * f + 1 < long(s.size()); ++f)
            for (size_t side = 0; side < 2; ++side)
                largest = std::max(largest, std::abs(s[size_t(2 * f) + side] - s[size_t(2 * f - 2) + side]));
        return largest;
    };
    const long near = kRate / 500;
    result.step = largestStep(seam - near, seam + near);
    result.stepsBefore = largestStep(seam - kRate / 20, seam - near);
    return result;
}

// The mean of each channel over the frames, in dBFS (the larger side).
double MeasureDc(std::vector<int16_t> const& s, size_t fromFrame, size_t toFrame)
{
    double left = 0, right = 0;
    for (size_t f = fromFrame; f < toFrame; ++f)
    {
        left += s[2 * f];
        right += s[2 * f + 1];
    }
    const double n = double(toFrame - fromFrame);
    return Dbfs(std::max(std::fabs(left / n), std::fabs(right / n)));
}

} // namespace

// A minute of heavy play at full volumes: the game's music, the auto-fire
// loop held, bullet hits on most ticks, enemies dying of every size, a boss
// now and then and the cannon charged and fired every ten seconds, all
// through the game's sound set and the effects layer's eight voices.
TEST(GameMix, AMinuteOfHeavyFiringNeverClips)
{
    TempDirectory directory;
    MixRun run(directory);
    MusicPlayer music;
    Dice dice;
    const long tickFrames = kRate / 30, minute = 60L * kRate;
    long nextTick = 0, tick = 0;
    int firing = -1, charge = -1;
    auto script = [&](long frame)
    {
        if (frame == 0)
            music.Play();
        for (; nextTick <= frame; nextTick = ++tick * tickFrames)
        {
            Vexel::FrameEvents::Updating.Raise(1.0f / 30.0f);
            if (firing == -1)
                firing = GameSounds::Play(7, 0.65f, 0.9f);
            else
                GameSounds::SetVolumeAndPitch(firing, 0.65f, 0.9f);
            if (dice.Next() < 0.75)
                GameSounds::Play(4, 1.0f, 1.0f);
            if (dice.Next() < 0.08)
                GameSounds::Play(0, 1.0f, 1.0f);
            if (dice.Next() < 0.04)
                GameSounds::Play(3, 1.0f, 1.0f);
            if (dice.Next() < 0.025)
                GameSounds::Play(1, 1.0f, 1.0f);
            if (tick % 450 == 300)
                GameSounds::Play(2, 1.0f, 1.0f);
            // The cannon: two and a half seconds of charge, then the shot.
            const long phase = tick % 300;
            if (phase >= 120 && phase < 195)
            {
                const float level = float(phase - 120) / 75.0f;
                const float volume = level * 0.25f + 0.06f, pitch = 0.5f + 0.5f * level;
                if (charge == -1)
                    charge = GameSounds::Play(5, volume, pitch);
                else
                    GameSounds::SetVolumeAndPitch(charge, volume, pitch);
            }
            else if (phase == 195)
            {
                GameSounds::Stop(charge);
                charge = -1;
                GameSounds::Play(6, 1.0f, 1.0f);
            }
        }
        return frame < minute;
    };
    run.Run(
        true, script, [&] { music.Load("InGame"); }, [&] { music.Unload(); });
    if (HasFatalFailure())
        return;
    const Clipping c = MeasureClipping(run.Frames());
    if (Reporting())
        std::printf("heavy firing, 60 s: %ld clipped samples in %ld episodes, peak %.2f dBFS\n", c.clipped,
                    c.episodes, Dbfs(c.peak));
    EXPECT_EQ(c.clipped, 0) << "in " << c.episodes << " episodes";
    // Still a full mix: it uses most of the range.
    EXPECT_GT(Dbfs(c.peak), -9.0);
}

// Each track played on past its end: where the stream starts again there
// is no hole (or the music is quiet on both sides of it) and no click; the
// music carries no DC and does not clip on its own.
TEST(GameMix, EveryTrackLoopsWithoutAHole)
{
    for (const char* track : kTracks)
    {
        const std::string name = track;
        SCOPED_TRACE(name);
        const size_t mp3Frames = CountMp3Frames(ReadFile(std::string(VEXEL_DATA_DIR) + "/" + name + ".mp3"));
        ASSERT_GT(mp3Frames, 0u) << "not a plain constant bit rate stream";
        const long period = long(mp3Frames) * kMp3FrameSamples;
        TempDirectory directory;
        MixRun run(directory);
        MusicPlayer music;
        auto script = [&](long frame)
        {
            if (frame == 0)
                music.Play();
            return frame < period + kRate / 2;
        };
        run.Run(
            false, script, [&] { music.Load(name); }, [&] { music.Unload(); });
        if (HasFatalFailure())
            return;
        const Seam seam = MeasureSeam(run.Frames(), period);
        const double dc = MeasureDc(run.Frames(), kRate, size_t(period));
        const Clipping c = MeasureClipping(run.Frames());
        if (Reporting())
            std::printf(
                "%-8s seam: %.1f ms of silence, %.1f dBFS before, %.1f dBFS after, step %d (%d before); "
                "DC %.1f dBFS; peak %.2f dBFS\n",
                name.c_str(), seam.silenceMs, seam.levelBefore, seam.levelAfter, seam.step, seam.stepsBefore,
                dc, Dbfs(c.peak));
        EXPECT_TRUE(seam.silenceMs <= 5.0 || (seam.levelBefore < -40.0 && seam.levelAfter < -40.0))
            << seam.silenceMs << " ms of silence between " << seam.levelBefore << " and " << seam.levelAfter
            << " dBFS";
        // Nor a click: the music goes on as it went.
        EXPECT_LE(seam.step, seam.stepsBefore * 3 / 2);
        EXPECT_LT(dc, -60.0);
        EXPECT_EQ(c.clipped, 0);
    }
}
