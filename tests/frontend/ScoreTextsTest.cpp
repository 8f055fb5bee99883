// The texts of the score views: time taken, date, waves, score and the line
// of waves and kills, against hand-made tables and the C library's calendar.
#include "game/frontend/text/ScoreTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace
{

HighScores::ScoreStats Stats(int64_t score, int32_t kills, int32_t lastWaveIndex, uint8_t extraWaves)
{
    HighScores::ScoreStats s;
    s.score = score;
    s.kills = kills;
    s.lastWaveIndex = lastWaveIndex;
    s.extraWaves = extraWaves;
    return s;
}

} // namespace

TEST(ScoreTexts, TimeTakenIsHoursMinutesSeconds)
{
    const std::vector<std::pair<int32_t, std::string>> cases = {
        {3725, "1:02:05"}, {59, "0:00:59"},     {0, "0:00:00"},      {60, "0:01:00"},
        {3600, "1:00:00"}, {36000, "10:00:00"}, {86399, "23:59:59"}, {-5, "0:00:00"},
    };
    for (auto const& c : cases)
        EXPECT_EQ(c.second, FormatTimeTaken(c.first)) << c.first;
}

TEST(ScoreTexts, DateIsDayMonthYearOfTheCalendar)
{
    setenv("TZ", "UTC", 1);
    tzset();
    const std::vector<double> dates = {
        0.0, 951782400.0 /* a leap day */, 1268000000.5, 1700000000.0, 4102444799.0, 1262304000.0};
    for (double date : dates)
    {
        const time_t t = time_t(date);
        tm parts{};
        ASSERT_NE(nullptr, gmtime_r(&t, &parts));
        char expected[32];
        snprintf(expected, sizeof expected, "%d/%02d/%d", parts.tm_mday, parts.tm_mon + 1,
                 parts.tm_year + 1900);
        EXPECT_EQ(expected, FormatScoreDate(date)) << date;
    }
    EXPECT_EQ("29/02/2000", FormatScoreDate(951782400.0));
    EXPECT_EQ("1/01/1970", FormatScoreDate(0.0));
}

TEST(ScoreTexts, WavesScoresAndDetails)
{
    EXPECT_EQ("12 +3", FormatLeaderboardWaves(Stats(5, 1, 12, 3)));
    EXPECT_EQ("12", FormatLeaderboardWaves(Stats(5, 1, 12, 0)));
    EXPECT_EQ("0", FormatLeaderboardWaves(Stats(5, 1, 0, 0)));
    EXPECT_EQ("64 +255", FormatLeaderboardWaves(Stats(5, 1, 64, 255)));

    const std::vector<std::pair<int64_t, std::string>> scores = {
        {0, "not set..."}, {-7, "not set..."}, {1, "1"},
        {999, "999"},      {1000, "1,000"},    {1234567, "1,234,567"},
    };
    for (auto const& c : scores)
        EXPECT_EQ(c.second, FormatScoreText(c.first)) << c.first;

    struct Case
    {
        HighScores::ScoreStats stats;
        const char* text;
    };
    const std::vector<Case> details = {
        {Stats(10, 1, 1, 0), "1 Wave  1 kill"},
        {Stats(10, 40, 12, 3), "12 +3 Waves  40 kills"},
        {Stats(10, 0, 2, 0), "2 Waves  0 kills"},
        {Stats(10, 5, 0, 3), "5 kills"}, // no wave index: the kills alone
        {Stats(10, 1, 1, 1), "1 +1 Wave  1 kill"},
        {Stats(0, 40, 12, 3), ""},
        {Stats(-1, 40, 12, 3), ""},
    };
    for (Case const& c : details)
        EXPECT_EQ(c.text, FormatGameDetails(c.stats));
}
