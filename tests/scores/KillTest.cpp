// A writer killed at any moment leaves each saved file either as it was or
// as it was meant to become, whole: never torn, never empty.
#include "game/scores/Awards.h"
#include "game/scores/AwardsFile.h"
#include "game/scores/PrefsFile.h"
#include "game/scores/ScoreFile.h"
#include "tests/scores/SaveLoopContent.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

#include <chrono>
#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace ScoresTest;

namespace
{
class KillTest : public SaveFolderTest
{
protected:
    pid_t Start(std::vector<std::string> const& arguments)
    {
        std::vector<char*> argv;
        std::string path = SCORES_SAVE_LOOP_PATH;
        argv.push_back(&path[0]);
        std::vector<std::string> copies = arguments;
        for (std::string& argument : copies)
            argv.push_back(&argument[0]);
        argv.push_back(nullptr);
        const pid_t child = fork();
        if (child == 0)
        {
            execv(argv[0], argv.data());
            _exit(127);
        }
        return child;
    }

    // Kills the helper after a random delay and returns whether it was still
    // running then.
    bool KillLater(pid_t child, std::mt19937& random, int maxMilliseconds)
    {
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, maxMilliseconds * 1000)(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    }

    // The file's bytes, or null when there is none.
    std::unique_ptr<std::string> Saved(std::string const& name)
    {
        if (!Exists(name))
            return nullptr;
        return std::unique_ptr<std::string>(new std::string(ReadSaved(name)));
    }
};

const int Rounds = 30;
} // namespace

TEST_F(KillTest, PreferencesAreOldOrNewAndWhole)
{
    std::mt19937 random(1234);
    int killed = 0, previousWave = 0;
    for (int round = 0; round < Rounds; round++)
    {
        killed += KillLater(Start({"prefs", "100000"}), random, 25);
        auto bytes = Saved("quellar_prefs.prf");
        if (!bytes)
        {
            EXPECT_EQ(previousWave, 0) << "a file once written never disappears";
            continue;
        }
        PrefsRecord record;
        TestSupport::LogCapture log;
        ASSERT_EQ(ReadPrefsFile(reinterpret_cast<const uint8_t*>(bytes->data()), int(bytes->size()), record),
                  PrefsReadResult::Complete)
            << "round " << round;
        EXPECT_EQ(bytes->size(), 43 + record.playerName.size());
        EXPECT_EQ(record.playerName, SaveLoopContent::NameFor(record.startingWave)) << "round " << round;
        previousWave = record.startingWave;
    }
    EXPECT_GT(killed, Rounds / 2) << "most kills must land while saving";
}

TEST_F(KillTest, AwardsAreOldOrNewAndWhole)
{
    std::mt19937 random(99);
    for (int round = 0; round < Rounds; round++)
    {
        unlink(SavePath("awards.awd").c_str());
        KillLater(Start({"awards", "1000"}), random, 40);
        auto bytes = Saved("awards.awd");
        if (!bytes)
            continue;
        ASSERT_EQ(bytes->size(), 220u) << "round " << round;
        Award* awards[72];
        std::vector<std::unique_ptr<Award>> owned;
        for (int i = 0; i < 72; i++)
        {
            owned.emplace_back(new Award(0));
            awards[i] = owned.back().get();
        }
        ASSERT_EQ(ReadAwardsFile(reinterpret_cast<const uint8_t*>(bytes->data()), int(bytes->size()), awards),
                  AwardsReadResult::Complete);
        // The set flags form a prefix of the helper's order.
        bool clearSeen = false;
        for (int step = 0; step < SaveLoopContent::AwardSteps; step++)
        {
            const bool set = awards[step / 3]->flags[step % 3] != 0;
            EXPECT_FALSE(set && clearSeen) << "round " << round << " step " << step;
            clearSeen = clearSeen || !set;
        }
    }
}

TEST_F(KillTest, ScoreFilesAreOldOrNewAndWhole)
{
    std::mt19937 random(7);
    for (int round = 0; round < Rounds; round++)
    {
        unlink(SavePath("highscore_level_1007.score").c_str());
        KillLater(Start({"scores", "100000"}), random, 25);
        auto bytes = Saved("highscore_level_1007.score");
        if (!bytes)
            continue;
        ScoreFileRecord record;
        TestSupport::LogCapture log;
        ASSERT_EQ(ReadScoreFile(reinterpret_cast<const uint8_t*>(bytes->data()), int(bytes->size()), "kill",
                                record),
                  ScoreReadResult::Complete)
            << "round " << round;
        EXPECT_EQ(record.latest.name, SaveLoopContent::NameFor(int(record.latest.stats.score)));
        EXPECT_EQ(record.best.stats.score, record.latest.stats.score);
        ASSERT_EQ(record.global.size(), 1u);
        EXPECT_EQ(record.global[0].stats.score, record.latest.stats.score);
    }
}

TEST_F(KillTest, DeviceIdentityIsWholeEvenWhenMadeByManyAtOnce)
{
    std::vector<pid_t> children;
    for (int i = 0; i < 8; i++)
        children.push_back(Start({"deviceid"}));
    for (pid_t child : children)
    {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string id = ReadSaved("device.id");
    ASSERT_EQ(id.size(), 65u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), 64u);
    EXPECT_EQ(id[64], '\n');
    EXPECT_EQ(SavedNames(), std::vector<std::string>{"device.id"}) << "no temporary left";
}

// Kills that land inside a save leave its temporary behind; the next start
// removes every one of them, and the files are whole.
TEST_F(KillTest, TheNextStartLeavesNoTemporaryBehind)
{
    std::mt19937 random(2024);
    const char* const kinds[] = {"prefs", "awards", "scores", "deviceid"};
    int status = 0;
    for (const char* kind : kinds)
    {
        // Each file saved once first: what a kill leaves is then old or new.
        const pid_t first = Start({kind, "1"});
        ASSERT_EQ(waitpid(first, &status, 0), first);
    }
    for (int round = 0; round < Rounds; round++)
        KillLater(Start({kinds[round % 3], "100000"}), random, 60);
    // One leftover per file for certain, as a writer killed between making
    // its temporary and renaming it leaves.
    for (const char* name : {"quellar_prefs.prf", "awards.awd", "highscore_level_1007.score", "device.id"})
        WriteSaved(std::string(name) + ".Kd9Zq2.tmp", "half");
    int leftovers = 0;
    for (std::string const& name : SavedNames())
        leftovers += name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0;
    RecordProperty("leftovers", leftovers);
    EXPECT_GE(leftovers, 4);

    const pid_t start = Start({"start"});
    ASSERT_EQ(waitpid(start, &status, 0), start);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (std::string const& name : SavedNames())
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;

    PrefsRecord prefs;
    const std::string prefsBytes = ReadSaved("quellar_prefs.prf");
    EXPECT_EQ(ReadPrefsFile(reinterpret_cast<const uint8_t*>(prefsBytes.data()), int(prefsBytes.size()), prefs),
              PrefsReadResult::Complete);
    ScoreFileRecord scores;
    const std::string scoreBytes = ReadSaved("highscore_level_1007.score");
    EXPECT_EQ(ReadScoreFile(reinterpret_cast<const uint8_t*>(scoreBytes.data()), int(scoreBytes.size()), "kill",
                            scores),
              ScoreReadResult::Complete);
    EXPECT_EQ(ReadSaved("awards.awd").size(), 220u);
    EXPECT_EQ(ReadSaved("device.id").size(), 65u);
}
