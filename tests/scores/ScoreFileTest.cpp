#include "game/scores/ScoreFile.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

#include <climits>
#include <cmath>
#include <limits>

using namespace ScoresTest;
using HighScores::ScoreEntry;

namespace
{
ScoreEntry Entry(int64_t score, std::string const& name, double date)
{
    ScoreEntry entry;
    entry.stats.score = score;
    entry.stats.kills = int32_t(score / 10);
    entry.stats.lastWaveIndex = 9;
    entry.stats.extraWaves = 2;
    entry.stats.seconds = 61;
    entry.name = name;
    entry.date = date;
    return entry;
}

ScoreFileRecord Sample()
{
    ScoreFileRecord record;
    record.attempt = 3;
    record.accepted = false;
    record.changes = 4;
    record.successes = 2;
    record.ownScoresRestored = true;
    record.best = Entry(900, "BST", 11.0);
    record.online = Entry(800, "ONL", 12.0);
    record.latest = Entry(700, "LAT", 13.0);
    record.global = {Entry(990, "G1", 1.0), Entry(500, "GTWO", 2.0)};
    record.lastFetch = 1234.5;
    return record;
}

ScoreReadResult::Enum Read(std::string const& bytes, ScoreFileRecord& record)
{
    return ReadScoreFile(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()), "test.score",
                         record);
}

bool Same(ScoreEntry const& a, ScoreEntry const& b)
{
    return a.stats.score == b.stats.score && a.stats.kills == b.stats.kills &&
           a.stats.lastWaveIndex == b.stats.lastWaveIndex && a.stats.extraWaves == b.stats.extraWaves &&
           a.stats.seconds == b.stats.seconds && a.date == b.date && a.name == b.name;
}
} // namespace

TEST(ScoreFile, NamesAndRoundTrip)
{
    EXPECT_EQ(ScoreFileName("level", 1005), "highscore_level_1005.score");
    EXPECT_EQ(ScoreFileName("stage", 2008), "highscore_stage_2008.score");
    EXPECT_EQ(ScoreFileName("infinite", 3000), "highscore_infinite_3000.score");

    const std::string bytes = WriteScoreFile(Sample());
    EXPECT_EQ(bytes.size(), 18u + 3 * 39 + 4 + 38 + 40 + 8);
    ScoreFileRecord read;
    EXPECT_EQ(Read(bytes, read), ScoreReadResult::Complete);
    EXPECT_EQ(WriteScoreFile(read), bytes);
    EXPECT_EQ(read.version, 6);
}

TEST(ScoreFile, ATruncatedFileKeepsTheWholeFieldsBeforeTheCut)
{
    const ScoreFileRecord sample = Sample();
    const std::string bytes = WriteScoreFile(sample);
    // Field ends: attempt 8, accepted 9, changes 13, successes 17, restored 18,
    // best 57, online 96, latest 135, count 139, G1 177, GTWO 217, lastFetch 225.
    for (size_t cut = 0; cut < bytes.size(); cut++)
    {
        ScoreFileRecord read;
        TestSupport::LogCapture log;
        const ScoreReadResult::Enum result = Read(bytes.substr(0, cut), read);
        EXPECT_EQ(result, cut < 4 ? ScoreReadResult::OtherVersion : ScoreReadResult::Damaged) << cut;
        EXPECT_EQ(log.Lines().size(), 1u) << cut;
        const ScoreFileRecord fresh;
        EXPECT_EQ(read.attempt, cut >= 8 ? sample.attempt : fresh.attempt) << cut;
        EXPECT_EQ(read.accepted, cut >= 9 ? sample.accepted : fresh.accepted) << cut;
        EXPECT_EQ(read.changes, cut >= 13 ? sample.changes : fresh.changes) << cut;
        EXPECT_EQ(read.successes, cut >= 17 ? sample.successes : fresh.successes) << cut;
        EXPECT_EQ(read.ownScoresRestored, cut >= 18 ? sample.ownScoresRestored : fresh.ownScoresRestored)
            << cut;
        EXPECT_TRUE(Same(read.best, cut >= 57 ? sample.best : fresh.best)) << cut;
        EXPECT_TRUE(Same(read.online, cut >= 96 ? sample.online : fresh.online)) << cut;
        EXPECT_TRUE(Same(read.latest, cut >= 135 ? sample.latest : fresh.latest)) << cut;
        EXPECT_EQ(read.global.size(), cut >= 217 ? 2u : cut >= 177 ? 1u : 0u) << cut;
        EXPECT_EQ(read.lastFetch, 0.0) << cut;
    }
}

TEST(ScoreFile, AbsurdLengthsAndCountsAreDamage)
{
    const std::string bytes = WriteScoreFile(Sample());
    struct Case
    {
        size_t offset;
        int32_t value;
        size_t globalKept;
        const char* what;
    } cases[] = {
        {18 + 32, -1, 0, "best name length -1"},
        {18 + 32, 65, 0, "best name length 65"},
        {18 + 32, INT_MAX, 0, "best name length INT_MAX"},
        {18 + 32, INT_MIN, 0, "best name length INT_MIN"},
        {135, -1, 0, "count -1"},
        {135, INT_MIN, 0, "count INT_MIN"},
        {135, INT_MAX, 2, "count INT_MAX"},
        {135, 3, 2, "count one beyond"},
        {177 + 32, 1000, 1, "second list name 1000"},
    };
    for (Case const& c : cases)
    {
        std::string damaged = bytes;
        std::memcpy(&damaged[c.offset], &c.value, 4);
        ScoreFileRecord read;
        TestSupport::LogCapture log;
        EXPECT_EQ(Read(damaged, read), ScoreReadResult::Damaged) << c.what;
        EXPECT_EQ(read.global.size(), c.globalKept) << c.what;
        EXPECT_EQ(log.Lines().size(), 1u) << c.what;
        EXPECT_TRUE(log.Contains("test.score")) << c.what;
        EXPECT_EQ(read.changes, 4) << "fields before the damage are kept: " << c.what;
    }

    // A 64-character name is fine; an empty one too.
    ScoreFileRecord record = Sample();
    record.best.name = std::string(64, 'N');
    record.latest.name = "";
    record.online.name = std::string(100, 'X'); // cut to 64 when written
    ScoreFileRecord read;
    EXPECT_EQ(Read(WriteScoreFile(record), read), ScoreReadResult::Complete);
    EXPECT_EQ(read.best.name, std::string(64, 'N'));
    EXPECT_EQ(read.latest.name, "");
    EXPECT_EQ(read.online.name, std::string(64, 'X'));
}

TEST(ScoreFile, OtherVersionsAndLongLists)
{
    for (int32_t version : {4, 7, -1, 0, 0x06000000})
    {
        std::string bytes = WriteScoreFile(Sample());
        std::memcpy(&bytes[0], &version, 4);
        ScoreFileRecord read;
        TestSupport::LogCapture log;
        EXPECT_EQ(Read(bytes, read), ScoreReadResult::OtherVersion) << version;
        EXPECT_EQ(read.changes, 0) << version;
        EXPECT_EQ(log.Lines().size(), 1u);
    }

    ScoreFileRecord record = Sample();
    record.global.clear();
    for (int i = 0; i < 150; i++)
        record.global.push_back(Entry(5000 - i, "L", double(i)));
    ScoreFileRecord read;
    EXPECT_EQ(Read(WriteScoreFile(record), read), ScoreReadResult::Complete);
    ASSERT_EQ(read.global.size(), 100u);
    EXPECT_EQ(read.global.back().stats.score, 4901);
    EXPECT_EQ(read.lastFetch, 1234.5) << "read on after the kept entries";

    // Dates that are not numbers read as 0.
    record = Sample();
    record.best.date = std::numeric_limits<double>::quiet_NaN();
    record.global[1].date = std::numeric_limits<double>::infinity();
    record.lastFetch = -std::numeric_limits<double>::infinity();
    EXPECT_EQ(Read(WriteScoreFile(record), read), ScoreReadResult::Complete);
    EXPECT_EQ(read.best.date, 0.0);
    EXPECT_EQ(read.global[1].date, 0.0);
    EXPECT_EQ(read.lastFetch, 0.0);
}
