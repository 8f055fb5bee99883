// libFuzzer target over the reader of "state.sav": any bytes are either
// refused with a reason, a finished 5-byte state, or a state whose every
// part lies inside the file, within its ranges, and whose game loads.
#include "engine/core/Log.h"
#include "game/frontend/SavedState.h"
#include "game/simulation/Simulation.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace
{
class QuietLog : public Vexel::Log::ISink
{
public:
    void Write(Vexel::Log::Level::Enum, const char*, const char*) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietLog quiet;
    Vexel::Log::SetSink(&quiet);

    SavedState state;
    std::string error;
    switch (ReadSavedState(data, size, state, error))
    {
    case SavedStateRead::Refused:
        if (error.empty())
            abort();
        return 0;
    case SavedStateRead::NotResumable:
        if (size != 5)
            abort();
        return 0;
    case SavedStateRead::Resumable:
        break;
    default:
        abort();
    }
    if (state.pages.empty() || state.pages.size() > size_t(SavedStateFormat::MaxDepth))
        abort();
    for (int32_t page : state.pages)
        if (page < 0 || page >= MainScreen::kPageCount)
            abort();
    if (state.chosenLevel < 0 || state.chosenLevel > 63 || state.chosenStage < 0 || state.chosenStage > 8)
        abort();
    if (state.gameOffset + state.gameSize != state.musicOffset ||
        state.musicOffset + SavedStateFormat::MusicSize != size)
        abort();
    std::istringstream game(std::string(reinterpret_cast<const char*>(data) + state.gameOffset, state.gameSize));
    Simulation simulation(1);
    if (!simulation.Load(game))
        abort();
    return 0;
}
