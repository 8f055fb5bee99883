// Effects, the shared voice pool, stealing, handles, the layer's switch and
// collections, through the real mixer on SDL's dummy driver.
#include "engine/audio/AudioDevice.h"
#include "engine/audio/Effect.h"
#include "engine/audio/EffectCollection.h"
#include "engine/audio/EffectImpl.h"
#include "engine/audio/Mixer.h"
#include "engine/audio/ParamFactor.h"
#include "engine/audio/SoundEffectInstance.h"
#include "engine/audio/SoundEffects.h"

#include "tests/audio/AudioTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace Vexel::Audio;

namespace
{

int SoundEffectInstanceStep(float pitch)
{
    return SoundEffectInstance::ComputeStep(pitch, 44100, AudioDevice::GetOutputRate());
}

// Counts what an effect's events report.
struct EventLog
{
    std::vector<int> started, stopped, stolen;
    int limits = 0;

    void OnStarted(int handle) { started.push_back(handle); }
    void OnStopped(int handle) { stopped.push_back(handle); }
    void OnStolen(int handle) { stolen.push_back(handle); }
    void OnLimit(Effect*) { ++limits; }

    void Watch(Effect& effect)
    {
        effect.Started.Subscribe(Vexel::Action<int>(this, &EventLog::OnStarted));
        effect.Stopped.Subscribe(Vexel::Action<int>(this, &EventLog::OnStopped));
        effect.Stolen.Subscribe(Vexel::Action<int>(this, &EventLog::OnStolen));
        effect.LimitReached.Subscribe(Vexel::Action<Effect*>(this, &EventLog::OnLimit));
    }
};

class EffectTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        SoundEffects::Initialize(8, true);
        directory = new TempDirectory();
        // Five seconds: nothing ends by itself while a test runs.
        AudioTest::WriteFile(Path("long"), AudioTest::MakeWav(1, 44100, AudioTest::Tone(5 * 44100)));
        AudioTest::WriteFile(Path("short"), AudioTest::MakeWav(1, 44100, AudioTest::Tone(441)));
    }
    static void TearDownTestSuite()
    {
        delete directory;
        directory = nullptr;
    }

    void SetUp() override
    {
        SoundEffects::SetEnabled(true);
        ASSERT_TRUE(SoundEffects::IsActive());
        ASSERT_EQ(SoundEffects::GetFreeVoiceCount(), 8);
    }
    void TearDown() override
    {
        effects.clear();
        EXPECT_EQ(SoundEffects::GetFreeVoiceCount(), 8);
    }

    // Without ".wav"; an absolute path is used as given.
    static std::string Name(const char* file) { return directory->File(file); }
    static std::string Path(const char* file) { return Name(file) + ".wav"; }

    Effect& Make(const char* file, int instances, int priority, int policy, bool loop = false)
    {
        effects.emplace_back(new Effect(Name(file), instances, 1.0f, priority, loop, policy));
        return *effects.back();
    }

    static TempDirectory* directory;
    std::vector<std::unique_ptr<Effect>> effects;
};

TempDirectory* EffectTest::directory = nullptr;

TEST_F(EffectTest, HigherPriorityStealsTheFirstVoiceOfTheLowest)
{
    Effect& busy = Make("long", 8, 50, StealPolicy::NeverOwn);
    Effect& loud = Make("long", 1, 120, StealPolicy::NeverOwn);
    EventLog busyLog, loudLog;
    busyLog.Watch(busy);
    loudLog.Watch(loud);

    std::vector<int> handles;
    for (int i = 0; i < 8; ++i)
        handles.push_back(busy.Play(1.0f, 1.0f));
    for (int handle : handles)
        ASSERT_NE(handle, -1);
    EXPECT_EQ(SoundEffects::GetFreeVoiceCount(), 0);
    EXPECT_EQ(busyLog.started, handles);

    const int stealer = loud.Play(1.0f, 1.0f);
    ASSERT_NE(stealer, -1);
    EXPECT_EQ(loudLog.started, std::vector<int>{stealer});
    // The first instance of priority 50 gave its voice, without a second
    // Stopped from the stop itself.
    EXPECT_EQ(busyLog.stopped, std::vector<int>{handles[0]});
    EXPECT_EQ(busyLog.stolen, std::vector<int>{handles[0]});
    EXPECT_FALSE(busy.IsPlaying(handles[0]));
    for (size_t i = 1; i < handles.size(); ++i)
        EXPECT_TRUE(busy.IsPlaying(handles[i]));
    EXPECT_EQ(busy.GetPlayingCount(), 7);
    EXPECT_EQ(SoundEffects::GetFreeVoiceCount(), 0);
    EXPECT_EQ(busyLog.limits, 0);
}

TEST_F(EffectTest, EqualOrLowerPriorityGetsNoVoice)
{
    Effect& busy = Make("long", 8, 50, StealPolicy::NeverOwn);
    Effect& equal = Make("long", 1, 50, StealPolicy::RestartOldest);
    Effect& lower = Make("long", 1, 10, StealPolicy::RestartOldest);
    Effect& polite = Make("long", 1, 200, StealPolicy::NoStealing);
    EventLog equalLog, lowerLog, politeLog, busyLog;
    equalLog.Watch(equal);
    lowerLog.Watch(lower);
    politeLog.Watch(polite);
    busyLog.Watch(busy);
    for (int i = 0; i < 8; ++i)
        busy.Play(1.0f, 1.0f);

    EXPECT_EQ(equal.Play(1.0f, 1.0f), -1);
    EXPECT_EQ(lower.Play(1.0f, 1.0f), -1);
    // Policy 2 never steals, whatever its priority.
    EXPECT_EQ(polite.Play(1.0f, 1.0f), -1);
    EXPECT_EQ(equalLog.limits, 1);
    EXPECT_EQ(lowerLog.limits, 1);
    EXPECT_EQ(politeLog.limits, 1);
    EXPECT_TRUE(equalLog.started.empty());
    EXPECT_TRUE(busyLog.stolen.empty());
    EXPECT_EQ(busy.GetPlayingCount(), 8);
}

TEST_F(EffectTest, PolicyZeroRestartsItsOwnOldest)
{
    Effect& restarting = Make("long", 2, 50, StealPolicy::RestartOldest);
    Effect& keeping = Make("long", 2, 50, StealPolicy::NeverOwn);
    EventLog restartLog, keepLog;
    restartLog.Watch(restarting);
    keepLog.Watch(keeping);

    const int first = restarting.Play(1.0f, 1.0f);
    const int second = restarting.Play(1.0f, 1.0f);
    const int third = restarting.Play(1.0f, 1.0f);
    ASSERT_NE(third, -1);
    EXPECT_EQ(restartLog.stolen, std::vector<int>{first});
    EXPECT_EQ(restartLog.stopped, std::vector<int>{first});
    EXPECT_FALSE(restarting.IsPlaying(first));
    EXPECT_TRUE(restarting.IsPlaying(second));
    EXPECT_TRUE(restarting.IsPlaying(third));
    // Then the oldest is the second.
    restarting.Play(1.0f, 1.0f);
    EXPECT_FALSE(restarting.IsPlaying(second));
    EXPECT_EQ(restarting.GetPlayingCount(), 2);

    keeping.Play(1.0f, 1.0f);
    keeping.Play(1.0f, 1.0f);
    EXPECT_EQ(keeping.Play(1.0f, 1.0f), -1);
    EXPECT_EQ(keepLog.limits, 1);
    EXPECT_TRUE(keepLog.stolen.empty());
}

TEST_F(EffectTest, HandlesWrapAfterOneHundredThousandPlays)
{
    Effect& effect = Make("long", 1, 50, StealPolicy::RestartOldest);
    const int first = effect.Play(1.0f, 1.0f);
    ASSERT_GE(first, 0);
    ASSERT_LT(first, 100000);
    int last = first;
    for (int i = 1; i < 100000; ++i)
    {
        last = effect.Play(1.0f, 1.0f);
        ASSERT_EQ(last, (first + i) % 100000) << i;
    }
    // The 100001st play of the program from the first.
    EXPECT_EQ(effect.Play(1.0f, 1.0f), first);
    EXPECT_EQ(effect.GetPlayingCount(), 1);
    EXPECT_TRUE(effect.IsPlaying(first));
    EXPECT_FALSE(effect.IsPlaying(last));
}

TEST_F(EffectTest, VolumeAndPitchReachTheInstance)
{
    Effect& effect = *new Effect(Name("long"), 1, 0.5f, 50, false, StealPolicy::NeverOwn);
    effects.emplace_back(&effect);
    const int handle = effect.Play(1.0f, 2.0f);
    const int id = effect.GetImpl()->FindInstance(handle);
    ASSERT_NE(id, -1);
    EXPECT_EQ(Mixer::GetGain(id), 8192); // volume x the volume factor
    EXPECT_EQ(Mixer::GetStep(id), SoundEffectInstanceStep(2.0f));
    effect.SetVolume(handle, 0.25f);
    effect.SetPitch(handle, 1.0f);
    EXPECT_EQ(Mixer::GetGain(id), 2048);
    EXPECT_EQ(Mixer::GetStep(id), SoundEffectInstanceStep(1.0f));
    // The effects volume scales every gain at the next refresh.
    SoundEffects::SetVolume(0.5f);
    SoundEffects::Refresh();
    EXPECT_EQ(Mixer::GetGain(id), 1024);
    SoundEffects::SetVolume(1.0f);
    SoundEffects::Refresh();
    EXPECT_EQ(Mixer::GetGain(id), 2048);
}

TEST_F(EffectTest, FinishedOneShotReturnsItsVoice)
{
    Effect& effect = Make("short", 1, 50, StealPolicy::NeverOwn);
    EventLog log;
    log.Watch(effect);
    const int handle = effect.Play(1.0f, 1.0f);
    ASSERT_NE(handle, -1);
    EXPECT_EQ(SoundEffects::GetFreeVoiceCount(), 7);
    // Ten milliseconds of sound on a real-time driver: frames until the
    // mixer has finished it and the cleanup and refresh have run.
    EXPECT_TRUE(AudioTest::WaitFor([&] { return !effect.IsPlaying(handle); }, 5000, true));
    EXPECT_EQ(log.stopped, std::vector<int>{handle});
    EXPECT_EQ(SoundEffects::GetFreeVoiceCount(), 8);
}

TEST_F(EffectTest, DisablingStopsAndUnloadsAndEnablingLoadsAgain)
{
    AudioTest::WriteFile(Path("reloaded"), AudioTest::MakeWav(1, 44100, AudioTest::Tone(44100)));
    Effect& effect = Make("reloaded", 2, 50, StealPolicy::NeverOwn, true);
    EventLog log;
    log.Watch(effect);
    const int handle = effect.Play(1.0f, 1.0f);
    ASSERT_NE(handle, -1);
    const int references = AudioDevice::GetReferenceCount();

    SoundEffects::SetEnabled(false);
    EXPECT_FALSE(SoundEffects::IsActive());
    EXPECT_FALSE(Mixer::HasManager());
    EXPECT_EQ(AudioDevice::GetReferenceCount(), references - 1);
    EXPECT_EQ(log.stopped, std::vector<int>{handle});
    EXPECT_FALSE(effect.IsPlaying(handle));
    EXPECT_EQ(SoundEffects::GetFreeVoiceCount(), 8);
    EXPECT_EQ(effect.Play(1.0f, 1.0f), -1);
    AudioTest::RunFrame();
    EXPECT_FALSE(SoundEffects::IsActive());

    // The file is read again after switching on: gone now, so nothing plays.
    std::remove(Path("reloaded").c_str());
    SoundEffects::SetEnabled(true);
    EXPECT_TRUE(SoundEffects::IsActive());
    TestSupport::LogCapture capture;
    EXPECT_EQ(effect.Play(1.0f, 1.0f), -1);
    EXPECT_EQ(effect.Play(1.0f, 1.0f), -1);
    EXPECT_EQ(capture.Lines().size(), 1u) << "a missing file is reported once";

    // Another switch off and on: the restored file loads.
    AudioTest::WriteFile(Path("reloaded"), AudioTest::MakeWav(1, 44100, AudioTest::Tone(44100)));
    SoundEffects::SetEnabled(false);
    SoundEffects::SetEnabled(true);
    EXPECT_NE(effect.Play(1.0f, 1.0f), -1);
}

TEST_F(EffectTest, CollectionKeysLimitsCapAndFactors)
{
    Effect& a = Make("long", 4, 50, StealPolicy::NeverOwn);
    Effect& b = Make("long", 4, 50, StealPolicy::NeverOwn);
    Effect& c = Make("long", 4, 50, StealPolicy::NeverOwn);
    EventLog aLog, bLog;
    aLog.Watch(a);
    bLog.Watch(b);
    EffectCollection collection(3);
    EXPECT_EQ(collection.Add(&a, 2), 0);
    EXPECT_EQ(collection.Add(&b, 4), 1);
    EXPECT_EQ(collection.Add(&a, 2), 0) << "a member keeps its key";
    EXPECT_EQ(collection.Add(nullptr, 1), -1);

    EXPECT_EQ(collection.Play(7, 1.0f, 1.0f), -1) << "unknown key";
    EXPECT_EQ(collection.Play(&c, 1.0f, 1.0f), -1) << "not a member";

    EXPECT_NE(collection.Play(0, 1.0f, 1.0f), -1);
    EXPECT_NE(collection.Play(&a, 1.0f, 1.0f), -1);
    EXPECT_EQ(collection.Play(0, 1.0f, 1.0f), -1) << "member limit";
    EXPECT_EQ(aLog.limits, 1);
    EXPECT_NE(collection.Play(1, 1.0f, 1.0f), -1);
    EXPECT_EQ(collection.TotalInstances(), 3);
    EXPECT_EQ(collection.Play(1, 1.0f, 1.0f), -1) << "cap";
    EXPECT_EQ(bLog.limits, 1);

    // Stopping through the collection raises the member's Stopped.
    const int bHandle = bLog.started.back();
    collection.Stop(1, bHandle);
    EXPECT_EQ(bLog.stopped, std::vector<int>{bHandle});
    collection.Stop(0, bHandle); // not a's handle: nothing
    EXPECT_EQ(a.GetPlayingCount(), 2);

    // Volume and pitch are multiplied by the factors' products.
    ParamFactor half(0.5f), alsoHalf(0.5f), faster(2.0f);
    collection.GetVolumeFactors().Add(&half);
    collection.GetVolumeFactors().Add(&alsoHalf);
    collection.GetPitchFactors().Add(&faster);
    const int handle = collection.Play(1, 0.8f, 1.0f);
    const int id = b.GetImpl()->FindInstance(handle);
    ASSERT_NE(id, -1);
    EXPECT_EQ(Mixer::GetGain(id), int(0.8 * 0.25 * 16384));
    EXPECT_EQ(Mixer::GetStep(id), SoundEffectInstanceStep(2.0f));

    // Keys: removal frees the smallest, Set replaces a member.
    collection.Remove(0);
    EXPECT_EQ(collection.GetKey(&a), -1);
    EXPECT_EQ(collection.Add(&c, 1), 0);
    collection.Set(0, &a, 1);
    EXPECT_EQ(collection.Get(0), &a);
    EXPECT_EQ(collection.GetKey(&c), -1);
    collection.Set(5, &b, 1);
    EXPECT_EQ(collection.GetKey(&b), 5);
    EXPECT_EQ(collection.Get(1), nullptr);
    collection.Remove(&b);
    EXPECT_EQ(collection.GetMemberCount(), 1);
}

TEST_F(EffectTest, EveryGeneratedSoundLoadsAndPlaysThroughTheMixer)
{
    TestSupport::LogCapture log;
    for (const char* name : AudioTest::kGeneratedSounds)
    {
        Effect effect(AudioTest::DataDirectory() + "/" + name, 2, 1.0f, 50, false,
                      StealPolicy::RestartOldest);
        const int handle = effect.Play(1.0f, 1.0f);
        EXPECT_NE(handle, -1) << name;
        EXPECT_TRUE(effect.IsPlaying(handle)) << name;
        EXPECT_EQ(effect.GetImpl()->instanceIds.size(), 2u) << name;
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST(ParamFactorTest, ProductOfTheFactorsPresent)
{
    ParamFactorSet set;
    EXPECT_EQ(set.GetProduct(), 1.0f);
    ParamFactor kept(0.5f);
    set.Add(&kept);
    set.Add(&kept);
    EXPECT_EQ(set.GetCount(), 1);
    {
        ParamFactor passing(0.25f);
        set.Add(&passing);
        EXPECT_EQ(set.GetProduct(), 0.125f);
    }
    // A destroyed factor leaves the set.
    EXPECT_EQ(set.GetCount(), 1);
    EXPECT_EQ(set.GetProduct(), 0.5f);
    kept.SetValue(0.75f);
    EXPECT_EQ(set.GetProduct(), 0.75f);
    set.Remove(&kept);
    EXPECT_EQ(set.GetProduct(), 1.0f);

    // A set that dies first no longer listens to its factors.
    ParamFactor outliving(2.0f);
    {
        ParamFactorSet shortLived;
        shortLived.Add(&outliving);
    }
    EXPECT_EQ(outliving.Destroyed.SubscriberCount(), 0u);
}

} // namespace
