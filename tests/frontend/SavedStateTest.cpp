// The reader of "state.sav" over whole files: a finished state, a resumable
// one, and a table of damaged files, each refused with its reason and
// nothing written to the log.
#include "game/frontend/SavedState.h"
#include "game/simulation/Simulation.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <sstream>
#include <string>

namespace
{

template <class T> void Put(std::string& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

template <class T> void Set(std::string& bytes, size_t offset, T value)
{
    std::memcpy(&bytes[offset], &value, sizeof(T));
}

// A saved game of a Classic game that has run a few seconds.
std::string SavedGame()
{
    Simulation simulation(11);
    simulation.StartGame(1, 1);
    SimulationInput input;
    for (int i = 0; i < 60; i++)
        simulation.Update(1.0f / 30.0f, input);
    std::ostringstream out;
    simulation.Save(out);
    return out.str();
}

std::string Music(float level = 1.0f, float rate = 0.0f, int32_t current = 1, uint8_t repeat = 1,
                  float fadeIn = 0.0f, int32_t pending = -1, uint8_t pendingRepeat = 0)
{
    std::string bytes;
    Put(bytes, level);
    Put(bytes, rate);
    Put(bytes, current);
    Put(bytes, repeat);
    Put(bytes, fadeIn);
    Put(bytes, pending);
    Put(bytes, pendingRepeat);
    return bytes;
}

struct Layout
{
    std::string bytes;
    size_t pagesAt, currentAt, levelAt, stageAt, flagsAt, statsAt, gameAt, musicAt;
};

// Pages [1, 20, 2]: a level game running, level 21, stage 3, the last
// result 1234 points.
Layout ValidFile()
{
    Layout l;
    std::string& b = l.bytes;
    Put<int32_t>(b, 3);
    Put<uint8_t>(b, 1);
    Put<int32_t>(b, 3);
    l.pagesAt = b.size();
    for (int32_t page : {1, 20, 2})
        Put(b, page);
    l.currentAt = b.size();
    Put<int32_t>(b, 2);
    l.levelAt = b.size();
    Put<int32_t>(b, 21);
    l.stageAt = b.size();
    Put<int32_t>(b, 3);
    l.flagsAt = b.size();
    b += std::string("\x01\x00\x01", 3);
    l.statsAt = b.size();
    Put<int64_t>(b, 1234);
    Put<int32_t>(b, 40);
    Put<int32_t>(b, 12);
    Put<uint8_t>(b, 3);
    b += std::string(3, '\0');
    Put<int32_t>(b, 3725);
    l.gameAt = b.size();
    b += SavedGame();
    l.musicAt = b.size();
    b += Music();
    return l;
}

SavedStateRead::Enum Read(std::string const& bytes, SavedState& state, std::string& error)
{
    return ReadSavedState(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), state, error);
}

TEST(SavedState, FinishedAndResumableFiles)
{
    TestSupport::LogCapture log;
    SavedState state;
    std::string error;
    EXPECT_EQ(SavedStateRead::NotResumable, Read(std::string("\x03\x00\x00\x00\x00", 5), state, error));

    const Layout valid = ValidFile();
    ASSERT_EQ(SavedStateRead::Resumable, Read(valid.bytes, state, error)) << error;
    EXPECT_EQ((std::vector<int32_t>{1, 20, 2}), state.pages);
    EXPECT_EQ(2, state.currentPage);
    EXPECT_EQ(21, state.chosenLevel);
    EXPECT_EQ(3, state.chosenStage);
    EXPECT_EQ(2, state.awards.Count());
    EXPECT_EQ(1, state.awards.flags[0]);
    EXPECT_EQ(0, state.awards.flags[1]);
    EXPECT_EQ(1234, state.stats.score);
    EXPECT_EQ(40, state.stats.kills);
    EXPECT_EQ(12, state.stats.lastWaveIndex);
    EXPECT_EQ(3, state.stats.extraWaves);
    EXPECT_EQ(3725, state.stats.seconds);
    EXPECT_EQ(valid.gameAt, state.gameOffset);
    EXPECT_EQ(valid.musicAt - valid.gameAt, state.gameSize);
    EXPECT_EQ(valid.musicAt, state.musicOffset);
    EXPECT_TRUE(log.Lines().empty());

    for (int page = -1; page <= 45; page++)
    {
        const bool expected = page == 2 || page == 3 || page == 4 || page == 5 || page == 18 || page == 28;
        EXPECT_EQ(expected, IsResumablePage(page)) << page;
    }
}

TEST(SavedState, DamagedFilesAreRefusedWithTheirReason)
{
    struct Case
    {
        const char* name;
        std::function<std::string(Layout const&)> make;
        const char* reason; // part of the error
    };
    auto edit = [](std::function<void(std::string&, Layout const&)> change) {
        return [change](Layout const& l) {
            std::string b = l.bytes;
            change(b, l);
            return b;
        };
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"empty", [](Layout const&) { return std::string(); }, "empty"},
        {"three bytes", [](Layout const&) { return std::string("\x03\x00\x00", 3); }, "cut short"},
        {"version 2", [](Layout const&) { return std::string("\x02\x00\x00\x00\x00", 5); }, "version 2"},
        {"version 4", edit([](std::string& b, Layout const&) { Set<int32_t>(b, 0, 4); }), "version 4"},
        {"no flag", [](Layout const&) { return std::string("\x03\x00\x00\x00", 4); }, "resumable"},
        {"flag 2", edit([](std::string& b, Layout const&) { b[4] = 2; }), "resumable flag is 2"},
        {"finished with more", [](Layout const&) { return std::string("\x03\x00\x00\x00\x00\x01", 6); },
         "follow the end"},
        {"depth 0", edit([](std::string& b, Layout const&) { Set<int32_t>(b, 5, 0); }), "page count 0"},
        {"depth 65", edit([](std::string& b, Layout const&) { Set<int32_t>(b, 5, 65); }), "page count 65"},
        {"depth -1", edit([](std::string& b, Layout const&) { Set<int32_t>(b, 5, -1); }), "page count -1"},
        {"page 44", edit([](std::string& b, Layout const& l) { Set<int32_t>(b, l.pagesAt + 4, 44); }),
         "page 44"},
        {"page -1", edit([](std::string& b, Layout const& l) { Set<int32_t>(b, l.pagesAt, -1); }), "page -1"},
        {"cut in pages", [](Layout const& l) { return l.bytes.substr(0, l.pagesAt + 6); }, "pages"},
        {"current page 44", edit([](std::string& b, Layout const& l) { Set<int32_t>(b, l.currentAt, 44); }),
         "current page 44"},
        {"level 64", edit([](std::string& b, Layout const& l) { Set<int32_t>(b, l.levelAt, 64); }), "level 64"},
        {"level -1", edit([](std::string& b, Layout const& l) { Set<int32_t>(b, l.levelAt, -1); }), "level -1"},
        {"stage 9", edit([](std::string& b, Layout const& l) { Set<int32_t>(b, l.stageAt, 9); }), "stage 9"},
        {"award flag 2", edit([](std::string& b, Layout const& l) { b[l.flagsAt + 1] = 2; }), "award flag"},
        {"negative score", edit([](std::string& b, Layout const& l) { Set<int64_t>(b, l.statsAt, -5); }),
         "negative"},
        {"cut in result", [](Layout const& l) { return l.bytes.substr(0, l.statsAt + 10); }, "last result"},
        {"game version", edit([](std::string& b, Layout const& l) { Set<int32_t>(b, l.gameAt, 9); }),
         "its game is refused (saved game rejected near byte"},
        {"game garbage", edit([](std::string& b, Layout const& l) {
             for (size_t i = l.gameAt + 4; i < l.gameAt + 40; i++)
                 b[i] = char(0xff);
         }),
         "its game is refused"},
        {"game cut", [](Layout const& l) { return l.bytes.substr(0, l.gameAt + 100); }, "its game is refused"},
        {"music cut", [](Layout const& l) { return l.bytes.substr(0, l.musicAt + 10); }, "music state"},
        {"music track 4", [](Layout const& l) { return l.bytes.substr(0, l.musicAt) + Music(1.0f, 0.0f, 4); },
         "music state is damaged"},
        {"music pending -2",
         [](Layout const& l) { return l.bytes.substr(0, l.musicAt) + Music(1.0f, 0.0f, 1, 1, 0.0f, -2); },
         "music state is damaged"},
        {"music level 2", [](Layout const& l) { return l.bytes.substr(0, l.musicAt) + Music(2.0f); },
         "music state is damaged"},
        {"music rate NaN", [nan](Layout const& l) { return l.bytes.substr(0, l.musicAt) + Music(1.0f, nan); },
         "music state is damaged"},
        {"music repeat 3",
         [](Layout const& l) { return l.bytes.substr(0, l.musicAt) + Music(1.0f, 0.0f, 1, 3); },
         "music state is damaged"},
        {"trailing byte", [](Layout const& l) { return l.bytes + "x"; }, "1 bytes follow the music state"},
    };
    const Layout valid = ValidFile();
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.name);
        TestSupport::LogCapture log;
        SavedState state;
        std::string error;
        EXPECT_EQ(SavedStateRead::Refused, Read(c.make(valid), state, error));
        EXPECT_NE(std::string::npos, error.find(c.reason)) << error;
        // The reader itself reports nothing: its caller reports once.
        EXPECT_TRUE(log.Lines().empty()) << log.Lines().front().message;
    }
}

TEST(SavedState, NullBytesAreAnEmptyFile)
{
    SavedState state;
    std::string error;
    EXPECT_EQ(SavedStateRead::Refused, ReadSavedState(nullptr, 12, state, error));
    EXPECT_EQ("it is empty", error);
}

} // namespace
