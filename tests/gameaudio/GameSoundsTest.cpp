// GameSounds: the table, the jitter, the observer seam and a real play
// through the effects layer under the dummy audio driver.
#include "engine/audio/Effect.h"
#include "engine/audio/SoundEffects.h"
#include "engine/core/Random.h"
#include "game/audio/GameSoundTable.h"
#include "game/audio/GameSounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

struct Call
{
    std::string what;
    int id;
    float volume, pitch;
};

class RecordingObserver : public GameSounds::IObserver
{
public:
    void OnPlay(int id, float volume, float pitch) override { calls.push_back({"play", id, volume, pitch}); }
    void OnStop(int handle) override { calls.push_back({"stop", handle, 0, 0}); }
    void OnSetVolumeAndPitch(int handle, float volume, float pitch) override
    {
        calls.push_back({"set", handle, volume, pitch});
    }
    std::vector<Call> calls;
};

// Installs an observer for one test and puts the previous one back.
class ObserverScope
{
public:
    ObserverScope() : previous(GameSounds::SetObserver(&observer)) {}
    ~ObserverScope() { GameSounds::SetObserver(previous); }
    RecordingObserver observer;

private:
    GameSounds::IObserver* previous;
};

int CreatedCount()
{
    int n = 0;
    for (int id = 0; id < GameSoundTable::kCount; ++id)
        n += GameSoundTable::CreatedEffect(id) != nullptr;
    return n;
}

} // namespace

TEST(GameSounds, NothingIsCreatedBeforeTheFirstPlayAndStopsBeforeThenDoNothing)
{
    ASSERT_EQ(CreatedCount(), 0);
    ObserverScope scope;
    GameSounds::Stop(3);
    GameSounds::SetVolumeAndPitch(3, 0.5f, 0.7f);
    EXPECT_EQ(CreatedCount(), 0);
    ASSERT_EQ(scope.observer.calls.size(), 2u);
    EXPECT_EQ(scope.observer.calls[0].what, "stop");
    EXPECT_EQ(scope.observer.calls[1].what, "set");
    EXPECT_EQ(scope.observer.calls[1].volume, 0.5f);
    EXPECT_EQ(scope.observer.calls[1].pitch, 0.7f);
}

TEST(GameSounds, IdsOutsideTheTablePlayNothingAndCreateNothing)
{
    int before = CreatedCount();
    for (int id : {-1, 9, 100, -100000})
    {
        EXPECT_EQ(GameSounds::Play(id, 1.0f, 1.0f), -1) << id;
        EXPECT_EQ(GameSoundTable::Entry(id), nullptr) << id;
    }
    EXPECT_EQ(CreatedCount(), before);
}

TEST(GameSounds, TheTableNamesTheGeneratedFilesWithTheirVoices)
{
    struct Row
    {
        const char* asset;
        int instances, priority;
        bool loops;
    };
    const Row rows[9] = {
        {"explosion_rcq1", 4, 50, false},
        {"explosion_rcq2", 4, 60, false},
        {"explosion_rcq5", 3, 70, false},
        {"explosion_rcq4", 3, 80, false},
        {"explosion_rcq0", 3, 10, false},
        {"beam_charge", 2, 110, true},
        {"beam_fire__81103__Pellwick__Blast_Revisited", 1, 120, false},
        {"laserfire", 1, 130, true},
        {"sfx_menubeep", 2, 100, false},
    };
    for (int id = 0; id < 9; ++id)
    {
        // The effect is made at the first play, playing or not.
        GameSounds::Play(id, 0.0f, 1.0f);
        Vexel::Audio::Effect* effect = GameSoundTable::CreatedEffect(id);
        ASSERT_NE(effect, nullptr) << id;
        EXPECT_EQ(effect->GetName(), rows[id].asset) << id;
        EXPECT_EQ(effect->GetInstanceCount(), rows[id].instances) << id;
        EXPECT_EQ(effect->GetPriority(), rows[id].priority) << id;
        // The per-instance byte is the loop flag; the mode is the steal policy.
        EXPECT_EQ(effect->IsLooping(), rows[id].loops) << id;
        EXPECT_EQ(effect->GetStealPolicy(), int(Vexel::Audio::StealPolicy::RestartOldest)) << id;
        EXPECT_EQ(effect->GetVolumeFactor(), 1.0f) << id;
        // A second play keeps the same effect.
        GameSounds::Play(id, 0.0f, 1.0f);
        EXPECT_EQ(GameSoundTable::CreatedEffect(id), effect);
    }
}

TEST(GameSounds, SoundsWithoutJitterPlayAtExactlyTheirBaseTimesTheArguments)
{
    Vexel::Random random(1, 123184);
    const float args[][2] = {{1.0f, 1.0f}, {0.65f, 0.9f}, {0.3f, 0.22f}, {1.2f, 1.2f}, {0.0f, 2.5f}};
    for (int id = 5; id <= 8; ++id)
    {
        GameSoundEntry const& e = *GameSoundTable::Entry(id);
        for (auto const& a : args)
        {
            float v, p;
            GameSoundTable::Jitter(e, random, a[0], a[1], v, p);
            if (id == 6)
            {
                // The cannon shot varies its pitch only.
                EXPECT_EQ(v, 0.95f * a[0]);
                EXPECT_GE(p, 0.9f * a[1]);
                EXPECT_LT(p, 1.05f * a[1]);
            }
            else
            {
                EXPECT_EQ(v, e.volumeBase * a[0]) << id;
                EXPECT_EQ(p, e.pitchBase * a[1]) << id;
                EXPECT_EQ(v, a[0]);
                EXPECT_EQ(p, a[1]);
            }
        }
    }
}

TEST(GameSounds, TheSmallExplosionVariesOverItsWholeRange)
{
    Vexel::Random random(1, 123184);
    GameSoundEntry const& e = *GameSoundTable::Entry(0);
    float vMin = 10, vMax = 0, pMin = 10, pMax = 0;
    for (int i = 0; i < 4000; ++i)
    {
        float v, p;
        GameSoundTable::Jitter(e, random, 1.0f, 1.0f, v, p);
        ASSERT_GE(v, 0.45f);
        ASSERT_LT(v, 0.65f);
        ASSERT_GE(p, 1.21f);
        ASSERT_LT(p, 1.66f);
        vMin = std::min(vMin, v), vMax = std::max(vMax, v), pMin = std::min(pMin, p),
        pMax = std::max(pMax, p);
    }
    EXPECT_LT(vMin, 0.452f);
    EXPECT_GT(vMax, 0.648f);
    EXPECT_LT(pMin, 1.215f);
    EXPECT_GT(pMax, 1.655f);
}

TEST(GameSounds, TheVolumeJitterIsDrawnBeforeThePitchJitter)
{
    Vexel::Random random(1, 123184), reference(1, 123184);
    GameSoundEntry const& e = *GameSoundTable::Entry(1);
    float v, p;
    GameSoundTable::Jitter(e, random, 2.0f, 0.5f, v, p);
    float first = reference.NextFloat(0.0f, e.volumeJitter);
    float second = reference.NextFloat(0.0f, e.pitchJitter);
    EXPECT_EQ(v, (e.volumeBase + first) * 2.0f);
    EXPECT_EQ(p, (e.pitchBase + second) * 0.5f);
}

TEST(GameSounds, TheMenuBeepPlaysSoundEightAtItsVariantsPitch)
{
    ObserverScope scope;
    const struct
    {
        int variant;
        float pitch;
    } cases[] = {{0, 1.2f}, {1, 0.8f}, {2, 1.0f}, {-1, 1.0f}, {57, 1.0f}};
    for (auto const& c : cases)
        GameSounds::PlayMenuBeep(c.variant);
    ASSERT_EQ(scope.observer.calls.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(scope.observer.calls[i].what, "play");
        EXPECT_EQ(scope.observer.calls[i].id, 8);
        EXPECT_EQ(scope.observer.calls[i].volume, 1.2f);
        EXPECT_EQ(scope.observer.calls[i].pitch, cases[i].pitch) << cases[i].variant;
    }
}

TEST(GameSounds, TheObserverSeesTheCallersArgumentsAndHandsBackThePreviousOne)
{
    RecordingObserver first, second;
    GameSounds::IObserver* original = GameSounds::SetObserver(&first);
    EXPECT_EQ(GameSounds::SetObserver(&second), &first);
    GameSounds::Play(0, 0.3f, 0.4f);
    GameSounds::Play(12, 1.0f, 1.0f);
    EXPECT_EQ(GameSounds::SetObserver(original), &second);
    EXPECT_TRUE(first.calls.empty());
    ASSERT_EQ(second.calls.size(), 2u);
    EXPECT_EQ(second.calls[0].id, 0);
    EXPECT_EQ(second.calls[0].volume, 0.3f);
    EXPECT_EQ(second.calls[0].pitch, 0.4f);
    EXPECT_EQ(second.calls[1].id, 12);
}

// The real effects layer over SDL_mixer's dummy driver and the generated
// WAV files.
TEST(GameSounds, PlaysStopsAndAdjustsThroughTheEffectsLayer)
{
    setenv("COBALT_KEEP_DATA", VEXEL_DATA_DIR, 1);
    Vexel::Audio::SoundEffects::Initialize(8, true);
    struct Closing
    {
        ~Closing() { Vexel::Audio::SoundEffects::Shutdown(); }
    } closing;
    if (!Vexel::Audio::SoundEffects::IsActive())
        GTEST_SKIP() << "no audio device, not even the dummy driver";

    int beep = GameSounds::Play(8, 1.0f, 1.0f);
    ASSERT_GE(beep, 0);
    Vexel::Audio::Effect* effect = GameSoundTable::CreatedEffect(8);
    EXPECT_TRUE(effect->IsPlaying(beep));
    int charge = GameSounds::Play(5, 0.2f, 0.25f);
    ASSERT_GE(charge, 0);
    EXPECT_NE(charge, beep);
    GameSounds::SetVolumeAndPitch(charge, 0.1f, 0.3f);
    EXPECT_TRUE(GameSoundTable::CreatedEffect(5)->IsPlaying(charge));
    GameSounds::Stop(charge);
    EXPECT_FALSE(GameSoundTable::CreatedEffect(5)->IsPlaying(charge));
    EXPECT_TRUE(effect->IsPlaying(beep));
    GameSounds::Stop(beep);
    EXPECT_FALSE(effect->IsPlaying(beep));
    // The laser loop has one instance and restarts it when asked again.
    int shot = GameSounds::Play(7, 0.65f, 0.9f);
    int again = GameSounds::Play(7, 0.65f, 0.9f);
    ASSERT_GE(again, 0);
    EXPECT_FALSE(GameSoundTable::CreatedEffect(7)->IsPlaying(shot));
    EXPECT_TRUE(GameSoundTable::CreatedEffect(7)->IsPlaying(again));
    GameSounds::Stop(again);
}
