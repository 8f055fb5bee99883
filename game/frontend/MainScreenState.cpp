// "state.sav": written on every deactivation and at exit, so that a game in
// progress, or the results of one just finished, survive until the next
// start; read once at construction and then written again as finished, so a
// later start does not restore the same state twice.
#include "game/frontend/MainScreen.h"

#include "engine/core/File.h"
#include "engine/core/Log.h"
#include "game/audio/GameMusic.h"
#include "game/frontend/SavedState.h"
#include "game/frontend/StreamHelpers.h"
#include "game/play/GameScreen.h"
#include "game/simulation/SimulationView.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace
{
void WriteStats(std::ostream& out, HighScores::ScoreStats const& stats)
{
    char bytes[SavedStateFormat::StatsSize] = {};
    std::memcpy(bytes + 0, &stats.score, 8);
    std::memcpy(bytes + 8, &stats.kills, 4);
    std::memcpy(bytes + 12, &stats.lastWaveIndex, 4);
    bytes[16] = char(stats.extraWaves);
    std::memcpy(bytes + 20, &stats.seconds, 4);
    out.write(bytes, sizeof(bytes));
}
} // namespace

void MainScreen::SaveState(bool discard)
{
    // Built in memory and written in one go: the file is replaced whole or
    // not at all, and a failure is reported by the file helpers. Nothing
    // here counts on it: the next deactivation or exit writes it again.
    std::ostringstream out;
    WriteInt32(out, kStateVersion);
    bool resumable = false;
    for (int page : pageStack)
        if (IsResumablePage(page))
            resumable = true;
    if (discard)
        resumable = false;
    out.put(resumable ? 1 : 0);
    if (resumable)
    {
        // The reader takes at most 64 entries: a longer stack keeps its
        // bottom (the title page) and its top.
        std::vector<int> pages(pageStack.begin(), pageStack.end());
        if (int(pages.size()) > SavedStateFormat::MaxDepth)
            pages.erase(pages.begin() + 1, pages.end() - (SavedStateFormat::MaxDepth - 1));
        WriteInt32(out, int32_t(pages.size()));
        for (int page : pages)
            WriteInt32(out, page);
        WriteInt32(out, currentPage);
        WriteInt32(out, chosenLevel);
        WriteInt32(out, chosenStage);
        out.write(reinterpret_cast<const char*>(lastGameAwards.flags), 3);
        WriteStats(out, lastGameStats);
        gameScreen->Save(out);
        GameMusic::Save(out);
    }
    const std::string saved = out.str();
    if (Vexel::IO::File::WriteAllBytes(kStateFileName, saved.data(), saved.size()) && resumable)
        Vexel::Log::Verbose("frontend", "state saved: page %d, wave %d", currentPage,
                            gameScreen->GetSimulation().View().WaveNumber());
}

bool MainScreen::RestoreState()
{
    Vexel::IO::File::RemoveLeftovers(kStateFileName);
    int size = 0;
    std::unique_ptr<uint8_t[]> bytes(Vexel::IO::File::ReadAllBytes(kStateFileName, false, &size));
    if (!bytes && size < 0)
        return false; // no saved state: a normal start

    SavedState saved;
    std::string error;
    const SavedStateRead::Enum read =
        ReadSavedState(bytes.get(), size > 0 ? size_t(size) : 0, saved, error);
    if (read == SavedStateRead::NotResumable)
        return false;
    if (read == SavedStateRead::Refused)
    {
        Vexel::Log::Error("frontend", "\"%s\" is not restored: %s; the game starts afresh", kStateFileName,
                          error.c_str());
        SaveState(true);
        return false;
    }

    // The play screen's game first: checked already, so it loads.
    std::istringstream game(std::string(reinterpret_cast<const char*>(bytes.get()) + saved.gameOffset,
                                        saved.gameSize));
    if (!gameScreen->Load(game))
    {
        SaveState(true);
        return false;
    }
    std::istringstream music(std::string(reinterpret_cast<const char*>(bytes.get()) + saved.musicOffset,
                                         SavedStateFormat::MusicSize));
    GameMusic::Load(music);

    pageStack.assign(saved.pages.begin(), saved.pages.end());
    // A single page would leave nothing to go back to.
    if (pageStack.size() == 1)
        pageStack.push_front(Page::Title);
    currentPage = saved.currentPage;
    chosenLevel = saved.chosenLevel;
    chosenStage = saved.chosenStage;
    lastGameAwards = saved.awards;
    lastGameStats = saved.stats;

    const int page = pageStack.back();
    pageStack.pop_back();
    currentPage = pageStack.back();
    Vexel::Log::Verbose("frontend", "state restored: page %d, wave %d", page,
                        gameScreen->GetSimulation().View().WaveNumber());
    ShowPage(page, true);
    restored = true;
    SaveState(true);
    return true;
}
