#include "engine/core/AppEvents.h"
#include "engine/core/File.h"
#include "game/scores/Awards.h"
#include "game/scores/AwardsFile.h"
#include "game/scores/GamePrefs.h"
#include "game/scores/ModeHighScores.h"
#include "game/scores/PrefsFile.h"
#include "game/scores/ScoreFile.h"
#include "tests/scores/FakeScoreService.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using namespace ScoresTest;

namespace
{
class SaveFileTest : public SaveFolderTest
{
protected:
    void Save(std::string const& name, std::string const& bytes)
    {
        std::ofstream* out = Vexel::IO::File::OpenWrite(name);
        ASSERT_NE(out, nullptr);
        out->write(bytes.data(), std::streamsize(bytes.size()));
        delete out;
    }
};

// Content that shows whether it is whole: every byte is the same letter and
// the length belongs to the letter.
std::string Version(int i)
{
    return std::string(size_t(20000 + 997 * (i % 7)), char('a' + i % 7));
}

bool IsWholeVersion(std::string const& bytes)
{
    if (bytes.empty())
        return false;
    const int i = bytes[0] - 'a';
    return i >= 0 && i < 7 && bytes == Version(i);
}
} // namespace

TEST_F(SaveFileTest, EachWriterHasATemporaryOfItsOwn)
{
    Save("state.sav", "old");
    std::ofstream* first = Vexel::IO::File::OpenWrite("state.sav");
    std::ofstream* second = Vexel::IO::File::OpenWrite("state.sav");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(SavedNames().size(), 3u) << "the file and two distinct temporaries";
    *first << "first writer";
    *second << "second";
    EXPECT_EQ(ReadSaved("state.sav"), "old") << "nothing replaced before a writer finishes";
    delete second;
    EXPECT_EQ(ReadSaved("state.sav"), "second");
    delete first;
    EXPECT_EQ(ReadSaved("state.sav"), "first writer");
    EXPECT_EQ(SavedNames(), std::vector<std::string>{"state.sav"});
}

TEST_F(SaveFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    Save("awards.awd", "version one");
    std::ofstream* out = Vexel::IO::File::OpenWrite("awards.awd");
    ASSERT_NE(out, nullptr);
    *out << "half";
    out->setstate(std::ios::badbit); // as a full disk would
    TestSupport::LogCapture log;
    delete out;
    EXPECT_EQ(ReadSaved("awards.awd"), "version one");
    EXPECT_EQ(SavedNames(), std::vector<std::string>{"awards.awd"});
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_TRUE(log.Contains("awards.awd"));
}

TEST_F(SaveFileTest, AWriteIntoAMissingFolderFails)
{
    // A save folder that cannot exist (a file stands in its place).
    WriteSaved("placeholder", "");
    ScopedEnvironment blocked("XDG_DATA_HOME", SavePath("placeholder"));
    TestSupport::LogCapture log;
    EXPECT_EQ(Vexel::IO::File::OpenWrite("state.sav"), nullptr);
}

TEST_F(SaveFileTest, ConcurrentSavesOfOneFileNeverTearIt)
{
    Save("highscore_level_1005.score", Version(0));
    std::atomic<bool> stop(false);
    std::atomic<int> torn(0), reads(0);
    std::thread reader(
        [&]
        {
            while (!stop)
            {
                std::string bytes = ReadSaved("highscore_level_1005.score");
                reads++;
                if (!IsWholeVersion(bytes))
                    torn++;
            }
        });
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; w++)
        writers.emplace_back(
            [this, w]
            {
                for (int i = 0; i < 25; i++)
                    Save("highscore_level_1005.score", Version(w + i));
            });
    for (std::thread& writer : writers)
        writer.join();
    stop = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0) << "of " << reads.load() << " reads";
    EXPECT_TRUE(IsWholeVersion(ReadSaved("highscore_level_1005.score")));
    EXPECT_EQ(SavedNames(), std::vector<std::string>{"highscore_level_1005.score"});
}

// Each saver whose save did not land keeps what it meant to save and writes
// it at its next save point; the failure is said once, naming the file.
TEST_F(SaveFileTest, AFailedSaveIsSaidOnceAndMadeGoodAtTheNextSavePoint)
{
    struct Case
    {
        const char* name;
        std::function<void()> load;          // reads the file (there is none yet)
        std::function<void()> change;        // a change, saved at once
        std::function<void()> nextSavePoint; // what saves again
        std::function<bool(std::string const&)> holdsTheChange;
    };
    FakeHost host;
    host.offline = true;
    std::unique_ptr<ModeHighScores> table;
    const Case cases[] = {
        {"quellar_prefs.prf", [] { GamePrefs::GetStartingWave(); },
         []
         {
             GamePrefs::SetStartingWave(33);
             GamePrefs::Save();
         },
         [] { GamePrefs::Save(); },
         [](std::string const& bytes)
         {
             PrefsRecord record;
             return ReadPrefsFile(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()), record) ==
                        PrefsReadResult::Complete &&
                    record.startingWave == 33;
         }},
        {"awards.awd", [] { AllAwards::GetAward(5); }, [] { AllAwards::GetAward(5)->SetFlag(2); },
         [] { Vexel::AppEvents::Pause().Raise(); },
         [](std::string const& bytes)
         {
             std::vector<std::unique_ptr<Award>> owned;
             Award* awards[72];
             for (int i = 0; i < 72; i++)
             {
                 owned.emplace_back(new Award(0));
                 awards[i] = owned.back().get();
             }
             return ReadAwardsFile(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()), awards) ==
                        AwardsReadResult::Complete &&
                    awards[5]->flags[2] == 1;
         }},
        {"highscore_level_1005.score", [&] { table.reset(new ModeHighScores("level", 1005, &host)); },
         [&]
         {
             HighScores::ScoreStats stats;
             stats.score = 4321;
             table->AddScore(stats, "ZED");
         },
         [&] { table.reset(); },
         [](std::string const& bytes)
         {
             ScoreFileRecord record;
             return ReadScoreFile(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()), "test",
                                  record) == ScoreReadResult::Complete &&
                    record.best.stats.score == 4321 && record.best.name == "ZED";
         }},
    };
    GamePrefs::Unload();
    AllAwards::Unload();
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.load();
        // A folder with something in it where the file should be: the rename
        // fails, even for root.
        mkdir((home.Path() + "/cobalt-keep").c_str(), 0700);
        mkdir(SavePath(c.name).c_str(), 0700);
        WriteSaved(std::string(c.name) + "/inside", "");
        TestSupport::LogCapture log;
        c.change();
        c.change(); // saved again, failing again
        ASSERT_EQ(log.Lines().size(), 1u) << "said once";
        EXPECT_EQ(log.Lines()[0].tag, "file");
        EXPECT_NE(log.Lines()[0].message.find(SavePath(c.name)), std::string::npos) << log.Lines()[0].message;

        unlink(SavePath(std::string(c.name) + "/inside").c_str());
        rmdir(SavePath(c.name).c_str());
        EXPECT_FALSE(Exists(c.name));
        c.nextSavePoint();
        EXPECT_TRUE(c.holdsTheChange(ReadSaved(c.name)));
        for (std::string const& name : SavedNames())
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
    GamePrefs::Unload();
    AllAwards::Unload();
}
