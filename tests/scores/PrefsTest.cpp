#include "engine/audio/Music.h"
#include "engine/audio/SoundEffects.h"
#include "game/audio/GameAudioPrefs.h"
#include "game/scores/GamePrefs.h"
#include "game/scores/PrefsFile.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

#include <cmath>
#include <limits>

using namespace ScoresTest;

namespace
{
const char* const PrefsName = "quellar_prefs.prf";

// What the accessors answer, in file order.
struct Observed
{
    bool sound;
    float music, effects;
    bool vibration, tilt, locks, sweep;
    std::string name;
    int32_t startingWave;
    bool firstRunDone;
    float tiltX, tiltY, tiltZ;
    bool submit;
};

Observed Observe()
{
    Vector3 tilt = GamePrefs::GetTiltReference();
    return Observed{GamePrefs::IsSoundEnabled(),
                    GamePrefs::GetMusicVolume(),
                    GamePrefs::GetSoundVolume(),
                    GamePrefs::GetVibration(),
                    GamePrefs::GetTiltControls(),
                    GamePrefs::GetTargetLocks(),
                    GamePrefs::GetTargetSweep(),
                    GamePrefs::GetPlayerName(),
                    GamePrefs::GetStartingWave(),
                    GamePrefs::IsFirstRunDone(),
                    tilt.x,
                    tilt.y,
                    tilt.z,
                    GamePrefs::GetSubmitOnline()};
}

const Observed Defaults{true, 1.0f, 1.0f, true, true, true, true, "AAA", 10, false, 0.0f, -1.0f, 0.0f, true};

// A file whose every value differs from the default ("ZED": 46 bytes).
const Observed Custom{false, 0.25f, 0.5f, false,  false, false,  false,
                      "ZED", 33,    true, 0.125f, 0.5f,  -0.75f, false};

std::string FileOf(Observed const& o, int32_t version = 19, int32_t musicSet = 7)
{
    std::string bytes;
    Put<int32_t>(bytes, version);
    Put<uint8_t>(bytes, o.sound);
    Put<float>(bytes, o.music);
    Put<float>(bytes, o.effects);
    Put<uint8_t>(bytes, o.vibration);
    Put<uint8_t>(bytes, o.tilt);
    Put<uint8_t>(bytes, o.locks);
    Put<uint8_t>(bytes, o.sweep);
    Put<int32_t>(bytes, int32_t(o.name.size()));
    bytes += o.name;
    Put<int32_t>(bytes, o.startingWave);
    Put<int32_t>(bytes, musicSet);
    Put<uint8_t>(bytes, o.firstRunDone);
    Put<float>(bytes, o.tiltX);
    Put<float>(bytes, o.tiltY);
    Put<float>(bytes, o.tiltZ);
    Put<uint8_t>(bytes, o.submit);
    return bytes;
}

void ExpectObserved(Observed const& expected, Observed const& actual, std::string const& context)
{
    EXPECT_EQ(actual.sound, expected.sound) << context;
    EXPECT_EQ(actual.music, expected.music) << context;
    EXPECT_EQ(actual.effects, expected.effects) << context;
    EXPECT_EQ(actual.vibration, expected.vibration) << context;
    EXPECT_EQ(actual.tilt, expected.tilt) << context;
    EXPECT_EQ(actual.locks, expected.locks) << context;
    EXPECT_EQ(actual.sweep, expected.sweep) << context;
    EXPECT_EQ(actual.name, expected.name) << context;
    EXPECT_EQ(actual.startingWave, expected.startingWave) << context;
    EXPECT_EQ(actual.firstRunDone, expected.firstRunDone) << context;
    EXPECT_EQ(actual.tiltX, expected.tiltX) << context;
    EXPECT_EQ(actual.tiltY, expected.tiltY) << context;
    EXPECT_EQ(actual.tiltZ, expected.tiltZ) << context;
    EXPECT_EQ(actual.submit, expected.submit) << context;
}

// A fresh program start: nothing read, the audio modules at their own start
// and following the preferences as in the game.
class PrefsTest : public SaveFolderTest
{
protected:
    void SetUp() override
    {
        GameAudioPrefs::Follow();
        Restart();
    }
    void TearDown() override
    {
        Restart();
        GameAudioPrefs::Stop();
    }

    void Restart()
    {
        GamePrefs::Unload();
        Vexel::Audio::Music::SetVolume(1.0f);
        Vexel::Audio::SoundEffects::SetVolume(1.0f);
        Vexel::Audio::Music::SetEnabled(false, false);
        Vexel::Audio::SoundEffects::SetEnabled(false, false);
    }
};

int SoundSwitches = 0;
struct SwitchCounter
{
    void OnSwitchedOn() { SoundSwitches++; }
};
} // namespace

TEST_F(PrefsTest, FirstStartUsesTheDefaultsAndWritesThe46ByteFile)
{
    ExpectObserved(Defaults, Observe(), "first start");
    EXPECT_EQ(GamePrefs::GetMusicSet(), 0);
    EXPECT_TRUE(Vexel::Audio::Music::IsEnabled());
    EXPECT_TRUE(Vexel::Audio::SoundEffects::IsEnabled());
    EXPECT_FALSE(Exists(PrefsName)) << "reading alone writes nothing";

    GamePrefs::MarkFirstRunDone();
    EXPECT_EQ(ReadSaved(PrefsName),
              Hex("13 00 00 00 01 00 00 80 3F 00 00 80 3F 01 01 01 01 03 00 00 00 41 41 41 0A "
                  "00 00 00 00 00 00 00 01 00 00 00 00 00 00 80 BF 00 00 00 00 01"));
    EXPECT_EQ(SavedNames(), std::vector<std::string>{PrefsName}) << "no temporary file is left";

    Restart();
    EXPECT_TRUE(GamePrefs::IsFirstRunDone());
}

TEST_F(PrefsTest, WithoutAFileThePlayersChangesSurviveLaterAccessors)
{
    GamePrefs::SetMusicVolume(0.25f);
    GamePrefs::SetSoundVolume(0.5f);
    GamePrefs::SetSoundEnabled(false);
    GamePrefs::SetPlayerName("BOB");
    EXPECT_FALSE(Exists(PrefsName));
    // Every accessor tries the file again; none may bring the defaults back.
    EXPECT_TRUE(GamePrefs::GetVibration());
    EXPECT_EQ(GamePrefs::GetMusicVolume(), 0.25f);
    EXPECT_EQ(GamePrefs::GetSoundVolume(), 0.5f);
    EXPECT_FALSE(GamePrefs::IsSoundEnabled());
    EXPECT_FALSE(Vexel::Audio::Music::IsEnabled());
    EXPECT_FALSE(Vexel::Audio::SoundEffects::IsEnabled());
    EXPECT_EQ(GamePrefs::GetPlayerName(), "BOB");

    // A file that appears later is read.
    WriteSaved(PrefsName, FileOf(Custom));
    ExpectObserved(Custom, Observe(), "file found on a later call");
}

TEST_F(PrefsTest, EveryValueSurvivesARestart)
{
    GamePrefs::SetSoundEnabled(false);
    GamePrefs::SetMusicVolume(0.25f);
    GamePrefs::SetSoundVolume(0.5f);
    GamePrefs::SetVibration(false);
    GamePrefs::SetTiltControls(false);
    GamePrefs::SetTargetLocks(false);
    GamePrefs::SetTargetSweep(false);
    GamePrefs::SetPlayerName("ZED");
    GamePrefs::SetStartingWave(33);
    GamePrefs::SetMusicSet(7);
    GamePrefs::MarkFirstRunDone(); // saves
    GamePrefs::SetTiltReference(Vector3(0.125f, 0.5f, -0.75f));
    GamePrefs::SetSubmitOnline(false);
    GamePrefs::Save();
    EXPECT_EQ(ReadSaved(PrefsName), FileOf(Custom));
    EXPECT_EQ(GamePrefs::GetMusicSet(), 0) << "the music set is stored but never used";

    Restart();
    ExpectObserved(Custom, Observe(), "after restart");
    EXPECT_FALSE(Vexel::Audio::Music::IsEnabled()) << "sound switched off stays off at the next start";
    EXPECT_FALSE(Vexel::Audio::SoundEffects::IsEnabled());
    EXPECT_EQ(Vexel::Audio::Music::GetVolume(), 0.25f);
    EXPECT_EQ(Vexel::Audio::SoundEffects::GetVolume(), 0.5f);
}

TEST_F(PrefsTest, EmptyAndOverlongNames)
{
    GamePrefs::SetPlayerName("");
    GamePrefs::Save();
    EXPECT_EQ(ReadSaved(PrefsName).size(), 43u);
    Restart();
    EXPECT_EQ(GamePrefs::GetPlayerName(), "");

    // Saved up to the first NUL.
    GamePrefs::SetPlayerName(std::string("AB\0CD", 5));
    GamePrefs::Save();
    Restart();
    EXPECT_EQ(GamePrefs::GetPlayerName(), "AB");
}

TEST_F(PrefsTest, SwitchingSoundOnRestartsTheMusic)
{
    SwitchCounter counter;
    GamePrefs::SoundSwitchedOn().Subscribe(Vexel::Action<>(&counter, &SwitchCounter::OnSwitchedOn));
    SoundSwitches = 0;
    GamePrefs::SetSoundEnabled(false);
    EXPECT_EQ(SoundSwitches, 0);
    GamePrefs::SetSoundEnabled(true);
    EXPECT_EQ(SoundSwitches, 1);
    EXPECT_TRUE(Vexel::Audio::Music::IsEnabled());
    EXPECT_TRUE(GamePrefs::IsSoundEnabled());
    GamePrefs::RecheckOtherMusic(); // no other music here: nothing to re-apply
    EXPECT_EQ(SoundSwitches, 1);
    GamePrefs::SoundSwitchedOn().Unsubscribe(&counter);
}

TEST_F(PrefsTest, OtherVersionsAreIgnoredAndRewritten)
{
    for (int32_t version : {18, 20, -1, 0, 6})
    {
        Restart();
        WriteSaved(PrefsName, FileOf(Custom, version));
        TestSupport::LogCapture log;
        ExpectObserved(Defaults, Observe(), "version " + std::to_string(version));
        EXPECT_EQ(log.Lines().size(), 1u) << "reported once";
        EXPECT_TRUE(log.Contains(PrefsName));
        GamePrefs::Save();
        EXPECT_EQ(Get<int32_t>(ReadSaved(PrefsName), 0), 19);
    }
}

TEST_F(PrefsTest, ATruncatedFileKeepsWhatCameBeforeTheCut)
{
    const std::string whole = FileOf(Custom);
    ASSERT_EQ(whole.size(), 46u);
    // A value counts once the cut lies at or past its end ("ZED": N = 3);
    // the name only once its characters are there.
    for (size_t cut = 0; cut <= whole.size(); cut++)
    {
        Restart();
        WriteSaved(PrefsName, whole.substr(0, cut));
        TestSupport::LogCapture log;
        Observed o = Observe();
        Observed e = Defaults;
        if (cut >= 4)
        {
            auto has = [cut](size_t end) { return cut >= end; };
            if (has(5))
                e.sound = Custom.sound;
            if (has(9))
                e.music = Custom.music;
            if (has(13))
                e.effects = Custom.effects;
            if (has(14))
                e.vibration = Custom.vibration;
            if (has(15))
                e.tilt = Custom.tilt;
            if (has(16))
                e.locks = Custom.locks;
            if (has(17))
                e.sweep = Custom.sweep;
            if (has(24))
                e.name = Custom.name;
            if (has(28))
                e.startingWave = Custom.startingWave;
            if (has(33))
                e.firstRunDone = Custom.firstRunDone;
            if (has(37))
                e.tiltX = Custom.tiltX;
            if (has(41))
                e.tiltY = Custom.tiltY;
            if (has(45))
                e.tiltZ = Custom.tiltZ;
            if (has(46))
                e.submit = Custom.submit;
        }
        ExpectObserved(e, o, "cut at " + std::to_string(cut));
        EXPECT_EQ(log.Lines().size(), cut == whole.size() ? 0u : 1u) << "cut at " << cut;
        EXPECT_EQ(Vexel::Audio::Music::IsEnabled(), e.sound) << "cut at " << cut;
    }
}

TEST_F(PrefsTest, AbsurdNameLengthsAreDamage)
{
    for (int32_t length :
         {-1, -100000, 26, 1000000, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()})
    {
        Restart();
        std::string bytes = FileOf(Custom);
        std::memcpy(&bytes[17], &length, 4);
        WriteSaved(PrefsName, bytes);
        TestSupport::LogCapture log;
        Observed e = Defaults;
        e.sound = Custom.sound;
        e.music = Custom.music;
        e.effects = Custom.effects;
        e.vibration = Custom.vibration;
        e.tilt = Custom.tilt;
        e.locks = Custom.locks;
        e.sweep = Custom.sweep;
        ExpectObserved(e, Observe(), "name length " + std::to_string(length));
        EXPECT_EQ(log.Lines().size(), 1u);
        EXPECT_TRUE(log.Contains("byte 17"));
    }
}

TEST_F(PrefsTest, UnusableVolumesAndTiltAreRepaired)
{
    Observed odd = Custom;
    odd.music = std::numeric_limits<float>::quiet_NaN();
    odd.effects = 7.0f;
    odd.tiltY = std::numeric_limits<float>::infinity();
    WriteSaved(PrefsName, FileOf(odd));
    TestSupport::LogCapture log;
    EXPECT_EQ(GamePrefs::GetMusicVolume(), 1.0f);
    EXPECT_EQ(GamePrefs::GetSoundVolume(), 1.0f);
    EXPECT_EQ(GamePrefs::GetTiltReference().y, -1.0f);
    EXPECT_EQ(GamePrefs::GetStartingWave(), Custom.startingWave);
    EXPECT_EQ(log.Lines().size(), 2u);

    Restart();
    odd = Custom;
    odd.effects = -0.5f;
    WriteSaved(PrefsName, FileOf(odd));
    EXPECT_EQ(GamePrefs::GetSoundVolume(), 0.0f);
    EXPECT_EQ(GamePrefs::GetMusicVolume(), Custom.music);
}

TEST_F(PrefsTest, ReaderTakesAnyBytes)
{
    // The reader alone, over bytes that never came from the writer.
    PrefsRecord record;
    TestSupport::LogCapture log;
    EXPECT_EQ(ReadPrefsFile(nullptr, 0, record), PrefsReadResult::OtherVersion);
    EXPECT_EQ(ReadPrefsFile(nullptr, -5, record), PrefsReadResult::OtherVersion);
    const std::string whole = FileOf(Custom) + "trailing bytes are ignored";
    EXPECT_EQ(ReadPrefsFile(reinterpret_cast<const uint8_t*>(whole.data()), int(whole.size()), record),
              PrefsReadResult::Complete);
    EXPECT_EQ(record.musicSet, 7);
    EXPECT_EQ(WritePrefsFile(record), FileOf(Custom));
}
