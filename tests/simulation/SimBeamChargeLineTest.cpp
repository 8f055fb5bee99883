#include "game/audio/GameSounds.h"
#include "game/simulation/SimBeamChargeLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

const float kTick = 1.0f / 30.0f;

struct SoundLog : GameSounds::IObserver
{
    struct Call
    {
        char what; // 'p'lay, 's'top, 'v'olume
        int id;
        float volume, pitch;
    };
    std::vector<Call> calls;
    GameSounds::IObserver* previous;

    SoundLog() : previous(GameSounds::SetObserver(this)) {}
    ~SoundLog() override { GameSounds::SetObserver(previous); }

    void OnPlay(int id, float volume, float pitch) override { calls.push_back(Call{'p', id, volume, pitch}); }
    void OnStop(int handle) override { calls.push_back(Call{'s', handle, 0.0f, 0.0f}); }
    void OnSetVolumeAndPitch(int handle, float volume, float pitch) override
    {
        calls.push_back(Call{'v', handle, volume, pitch});
    }
    int Plays(int id) const
    {
        int n = 0;
        for (Call const& c : calls)
            n += c.what == 'p' && c.id == id;
        return n;
    }
};

TEST(SimBeamChargeLineTest, ChargesAndNeverFinishesWithoutADischarge)
{
    SoundLog sounds;
    SimBeamChargeLine line;
    EXPECT_EQ(1.0f, line.GetLevel());
    EXPECT_EQ(0.05f, line.GetPitch());
    int ticksToFull = 0;
    for (int i = 1; i <= 300; ++i)
    {
        line.Update(kTick);
        if (ticksToFull == 0 && line.GetCharge() == 1.0f)
            ticksToFull = i;
        EXPECT_FALSE(line.IsFinished());
    }
    EXPECT_EQ(14, ticksToFull); // 1 / 2.2 s
    EXPECT_EQ(1.0f, line.GetLevel());
    EXPECT_EQ(1.0f, line.GetPulse());
    EXPECT_GE(line.GetPhase(), 0.0f);
    EXPECT_LT(line.GetPhase(), 1.0f);
    // The charge loop (sound 5) is asked for once the smoothed volume passes
    // 0.005, which it does on the second tick.
    ASSERT_FALSE(sounds.calls.empty());
    EXPECT_EQ('p', sounds.calls[0].what);
    EXPECT_EQ(5, sounds.calls[0].id);
    EXPECT_GT(sounds.calls[0].volume, 0.005f);
    EXPECT_EQ(0, sounds.Plays(6));
}

TEST(SimBeamChargeLineTest, DischargeFadesOutOnceAndFiresOnce)
{
    SoundLog sounds;
    SimBeamChargeLine line;
    for (int i = 0; i < 20; ++i)
        line.Update(kTick);
    line.Discharge(true);
    EXPECT_TRUE(line.IsDischarging());
    EXPECT_TRUE(line.HasSound());
    EXPECT_EQ(1, sounds.Plays(6));
    EXPECT_EQ(1.0f, sounds.calls.back().volume);
    EXPECT_EQ(1.0f, sounds.calls.back().pitch);

    line.Discharge(false); // a second call changes nothing
    EXPECT_TRUE(line.HasSound());
    EXPECT_EQ(1, sounds.Plays(6));

    int ticks = 0;
    while (!line.IsFinished() && ticks < 1000)
    {
        line.Update(kTick);
        ++ticks;
    }
    EXPECT_TRUE(line.IsFinished());
    EXPECT_LE(line.GetLevel(), 0.0f);
    // The level falls 1.76 per second: at least 17 ticks to reach 0.
    EXPECT_GE(ticks, 17);

    SimBeamChargeLine quiet;
    quiet.Discharge(false);
    EXPECT_EQ(1, sounds.Plays(6));
    EXPECT_FALSE(quiet.HasSound());
}

} // namespace
