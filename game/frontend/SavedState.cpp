#include "game/frontend/SavedState.h"

#include "engine/core/Log.h"
#include "game/frontend/Page.h"
#include "game/simulation/Simulation.h"

#include <cmath>
#include <cstring>
#include <sstream>
#include <vector>

namespace
{

// Bounded reads over the file's bytes.
class ByteReader
{
public:
    ByteReader(uint8_t const* data, size_t size) : data(data), size(size), position(0) {}

    template <class T> bool Read(T& value)
    {
        if (size - position < sizeof(T))
            return false;
        std::memcpy(&value, data + position, sizeof(T));
        position += sizeof(T);
        return true;
    }
    bool Skip(size_t count)
    {
        if (size - position < count)
            return false;
        position += count;
        return true;
    }
    size_t Position() const { return position; }
    size_t Left() const { return size - position; }

private:
    uint8_t const* data;
    size_t size;
    size_t position;
};

// Holds back what the scratch Simulation reports of a refused game, so the
// file's reader reports it once, naming the file. Lines of other tags
// (another thread's, meanwhile) are written once the sink is gone.
class HeldLines : public Vexel::Log::ISink
{
public:
    HeldLines() : previous(Vexel::Log::SetSink(this)) {}
    ~HeldLines() override
    {
        Vexel::Log::SetSink(previous);
        for (Line const& line : others)
            Vexel::Log::Write(line.level, line.tag.c_str(), "%s", line.message.c_str());
    }
    void Write(Vexel::Log::Level::Enum level, const char* tag, const char* message) override
    {
        if (std::strcmp(tag, "simulation") == 0)
        {
            if (!simulation.empty())
                simulation += "; ";
            simulation += message;
        }
        else
            others.push_back(Line{level, tag, message});
    }

    std::string simulation;

private:
    struct Line
    {
        Vexel::Log::Level::Enum level;
        std::string tag;
        std::string message;
    };
    Vexel::Log::ISink* previous;
    std::vector<Line> others;
};

SavedStateRead::Enum Refuse(std::string& error, std::string const& why)
{
    error = why;
    return SavedStateRead::Refused;
}

bool InRange(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high;
}

} // namespace

bool IsResumablePage(int page)
{
    switch (page)
    {
    case Page::Game:
    case Page::ResultsAlive:
    case Page::ResultsLost:
    case Page::NameEntry:
    case Page::StageHorde:
    case Page::Information:
        return true;
    default:
        return false;
    }
}

SavedStateRead::Enum ReadSavedState(uint8_t const* data, size_t size, SavedState& out, std::string& error)
{
    using namespace SavedStateFormat;
    out = SavedState();
    if (!data)
        size = 0;
    ByteReader read(data, size);
    int32_t version = 0;
    if (!read.Read(version))
        return Refuse(error, size == 0 ? "it is empty" : "it is cut short in its version");
    if (version != Version)
        return Refuse(error, "its version " + std::to_string(version) + " is not " + std::to_string(Version));
    uint8_t resumable = 0;
    if (!read.Read(resumable))
        return Refuse(error, "it is cut short before its resumable flag");
    if (resumable > 1)
        return Refuse(error, "its resumable flag is " + std::to_string(resumable));
    if (resumable == 0)
    {
        if (read.Left() != 0)
            return Refuse(error, std::to_string(read.Left()) + " bytes follow the end of a finished state");
        return SavedStateRead::NotResumable;
    }

    int32_t depth = 0;
    if (!read.Read(depth))
        return Refuse(error, "it is cut short in the page count");
    if (!InRange(depth, 1, MaxDepth))
        return Refuse(error, "its page count " + std::to_string(depth) + " is not 1.." + std::to_string(MaxDepth));
    for (int32_t i = 0; i < depth; i++)
    {
        int32_t page = 0;
        if (!read.Read(page))
            return Refuse(error, "it is cut short in its pages");
        if (!InRange(page, 0, MainScreen::kPageCount - 1))
            return Refuse(error, "page " + std::to_string(page) + " does not exist");
        out.pages.push_back(page);
    }
    if (!read.Read(out.currentPage) || !read.Read(out.chosenLevel) || !read.Read(out.chosenStage))
        return Refuse(error, "it is cut short in the menu choices");
    if (!InRange(out.currentPage, 0, MainScreen::kPageCount - 1))
        return Refuse(error, "current page " + std::to_string(out.currentPage) + " does not exist");
    if (!InRange(out.chosenLevel, 0, 63))
        return Refuse(error, "chosen level " + std::to_string(out.chosenLevel) + " is not 0..63");
    if (!InRange(out.chosenStage, 0, 8))
        return Refuse(error, "chosen stage " + std::to_string(out.chosenStage) + " is not 0..8");
    for (int i = 0; i < 3; i++)
    {
        if (!read.Read(out.awards.flags[i]))
            return Refuse(error, "it is cut short in the award flags");
        if (out.awards.flags[i] > 1)
            return Refuse(error, "an award flag is " + std::to_string(out.awards.flags[i]));
    }
    HighScores::ScoreStats& stats = out.stats;
    if (!read.Read(stats.score) || !read.Read(stats.kills) || !read.Read(stats.lastWaveIndex) ||
        !read.Read(stats.extraWaves) || !read.Skip(3) || !read.Read(stats.seconds))
        return Refuse(error, "it is cut short in the last result");
    if (stats.score < 0 || stats.kills < 0 || stats.lastWaveIndex < 0 || stats.seconds < 0)
        return Refuse(error, "the last result holds a negative number");

    // The game, checked by the Simulation itself on a scratch copy.
    out.gameOffset = read.Position();
    {
        std::string rest(reinterpret_cast<const char*>(data) + out.gameOffset, read.Left());
        std::istringstream game(rest);
        bool loaded = false;
        std::string refusal;
        {
            HeldLines held;
            Simulation scratch(0);
            loaded = scratch.Load(game);
            refusal = held.simulation;
        }
        if (!loaded)
            return Refuse(error, "its game is refused (" + (refusal.empty() ? std::string("unreadable") : refusal) +
                                     ")");
        const std::streamoff used = game.tellg();
        if (used < 0 || size_t(used) > read.Left())
            return Refuse(error, "its game is cut short");
        out.gameSize = size_t(used);
        read.Skip(out.gameSize);
    }

    out.musicOffset = read.Position();
    float level = 0.0f, rate = 0.0f, fadeIn = 0.0f;
    int32_t current = 0, pending = 0;
    uint8_t currentRepeat = 0, pendingRepeat = 0;
    if (!read.Read(level) || !read.Read(rate) || !read.Read(current) || !read.Read(currentRepeat) ||
        !read.Read(fadeIn) || !read.Read(pending) || !read.Read(pendingRepeat))
        return Refuse(error, "it is cut short in the music state");
    if (!(level >= 0.0f && level <= 1.0f) || !(rate >= -1000.0f && rate <= 1000.0f) ||
        !(fadeIn >= 0.0f && fadeIn <= 3600.0f) || !InRange(current, -1, 3) || !InRange(pending, -1, 3) ||
        currentRepeat > 1 || pendingRepeat > 1)
        return Refuse(error, "its music state is damaged");
    if (read.Left() != 0)
        return Refuse(error, std::to_string(read.Left()) + " bytes follow the music state");
    return SavedStateRead::Resumable;
}
