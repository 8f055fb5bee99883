// libFuzzer target over the readers of the game's saved files: the
// preferences, the awards and the score tables, chosen by SAVE_FILE_KIND.
// Any bytes must be read without touching memory outside them, and whatever
// a reader accepts must write back into a file that reads the same.
#include "engine/core/Log.h"
#include "game/scores/Awards.h"
#include "game/scores/AwardsFile.h"
#include "game/scores/PrefsFile.h"
#include "game/scores/ScoreFile.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Damaged input is reported, and the fuzzer feeds nothing else.
class QuietLog : public Vexel::Log::ISink
{
public:
    void Write(Vexel::Log::Level::Enum, const char*, const char*) override {}
};

const uint8_t* Bytes(std::string const& text)
{
    return reinterpret_cast<const uint8_t*>(text.data());
}

void CheckPrefs(const uint8_t* data, int size)
{
    PrefsRecord record;
    if (ReadPrefsFile(data, size, record) == PrefsReadResult::OtherVersion)
        return;
    const std::string written = WritePrefsFile(record);
    PrefsRecord again;
    if (ReadPrefsFile(Bytes(written), int(written.size()), again) != PrefsReadResult::Complete ||
        WritePrefsFile(again) != written)
        abort();
    if (!(record.musicVolume >= 0.0f && record.musicVolume <= 1.0f) ||
        !(record.effectsVolume >= 0.0f && record.effectsVolume <= 1.0f))
        abort();
}

void CheckAwards(const uint8_t* data, int size)
{
    std::vector<std::unique_ptr<Award>> owned;
    Award* awards[72];
    for (int i = 0; i < 72; i++)
    {
        owned.emplace_back(new Award(0));
        awards[i] = owned.back().get();
    }
    if (ReadAwardsFile(data, size, awards) == AwardsReadResult::OtherVersion)
        return;
    const std::string written = WriteAwardsFile(awards);
    if (written.size() != 220)
        abort();
    for (Award* award : awards)
        for (unsigned char flag : award->flags)
            if (flag > 1)
                abort();
}

void CheckScores(const uint8_t* data, int size)
{
    ScoreFileRecord record;
    if (ReadScoreFile(data, size, "fuzz.score", record) == ScoreReadResult::OtherVersion)
        return;
    if (record.global.size() > size_t(ScoreFileRecord::MaxGlobalEntries))
        abort();
    const std::string written = WriteScoreFile(record);
    ScoreFileRecord again;
    if (ReadScoreFile(Bytes(written), int(written.size()), "fuzz.score", again) !=
            ScoreReadResult::Complete ||
        WriteScoreFile(again) != written)
        abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QuietLog quiet;
    static bool installed = (Vexel::Log::SetSink(&quiet), true);
    (void)installed;
    if (size > size_t(INT_MAX))
        return 0;
    // An exact-size copy, so every overread is caught.
    std::vector<uint8_t> bytes(data, data + size);
    const uint8_t* start = bytes.empty() ? nullptr : bytes.data();
    static void (*const checks[])(const uint8_t*, int) = {CheckPrefs, CheckAwards, CheckScores};
    checks[SAVE_FILE_KIND](start, int(bytes.size()));
    return 0;
}
