#include "game/scores/Awards.h"

#include "engine/core/AppEvents.h"
#include "engine/core/File.h"
#include "game/scores/AwardsFile.h"
#include "game/scores/SaveReader.h"
#include "game/scores/SaveWriter.h"

const char* const AllAwards::FileName = "awards.awd";

// clang-format off
const int32_t AllAwards::Thresholds[AllAwards::LevelCount] = {
    0,   290, 333, 0,   90,   0,   320,  520,  // stage 0
    0,   500, 72,  0,   225,  260, 192,  850,  // stage 1
    0,   0,   150, 500, 110,  0,   750,  440,  // stage 2
    0,   540, 300, 340, 150,  350, 950,  480,  // stage 3
    0,   180, 65,  170, 240,  1500, 520, 1350, // stage 4
    0,   999, 166, 600, 1080, 360, 1983, 650,  // stage 5
    490, 190, 475, 450, 320,  550, 250,  250,  // stage 6
    620, 1100, 550, 690, 820, 0,   1152, 999,  // stage 7
};
// clang-format on

Award::Award(int32_t value) : flags{0, 0, 0}, value(value) {}

void Award::SetFlag(int flag)
{
    if (flag < 0 || flag > 2)
        return;
    flags[flag] = 1;
    Changed.Raise();
}

int Award::GetMaxStars() const
{
    return value < 1 ? 2 : 3;
}

int Award::GetEarnedStars() const
{
    return (flags[1] ? 1 : 0) + (flags[2] ? 1 : 0) + (flags[0] && value >= 1 ? 1 : 0);
}

bool Award::Read(SaveReader& reader)
{
    uint8_t read[3];
    if (!reader.ReadBytes(read, 3))
        return false;
    for (int f = 0; f < 3; f++)
        flags[f] = read[f] != 0 ? 1 : 0;
    return true;
}

void Award::Write(SaveWriter& writer) const
{
    writer.WriteBytes(flags, 3);
}

int32_t AllAwards::StageValue(int stage)
{
    if (stage < 0 || stage >= StageCount)
        return 0;
    int64_t sum = 0;
    for (int i = 0; i < 8; i++)
        sum += Thresholds[stage * 8 + i];
    return int32_t((sum * 85 - 2125) / 10000 * 100);
}

int32_t AllAwards::GauntletValue()
{
    int64_t sum = 0;
    for (int g = 0; g < StageCount; g++)
        sum += StageValue(g);
    return int32_t(sum * 80 / 100);
}

AllAwards::AllAwards()
{
    for (int i = 0; i < LevelCount; i++)
        awards[i] = new Award(Thresholds[i]);
    for (int g = 0; g < StageCount; g++)
        awards[LevelCount + g] = new Award(StageValue(g));
    awards[Count - 1] = new Award(GauntletValue());
    Load();
    // Subscribed after the read, which sets flags without raising Changed.
    for (Award* award : awards)
        award->Changed.Subscribe(Vexel::Action<>(this, &AllAwards::OnChanged));
    Vexel::AppEvents::Pause().Subscribe(Vexel::Action<>(this, &AllAwards::OnChanged));
    Vexel::AppEvents::Shutdown().Subscribe(Vexel::Action<>(this, &AllAwards::OnChanged));
}

AllAwards::~AllAwards()
{
    Vexel::AppEvents::Pause().Unsubscribe(this);
    Vexel::AppEvents::Shutdown().Unsubscribe(this);
    for (Award* award : awards)
        delete award;
}

AllAwards*& AllAwards::Instance()
{
    static AllAwards* instance = nullptr;
    return instance;
}

AllAwards& AllAwards::Get()
{
    AllAwards*& instance = Instance();
    if (instance == nullptr)
        instance = new AllAwards();
    return *instance;
}

void AllAwards::Load()
{
    Vexel::IO::File::RemoveLeftovers(FileName);
    int size = 0;
    uint8_t* bytes = Vexel::IO::File::ReadAllBytes(FileName, false, &size);
    if (size < 0)
        return; // no file yet: every award starts clear
    ReadAwardsFile(bytes, size, awards);
    delete[] bytes;
}

void AllAwards::SaveFile()
{
    // Each save writes every award, so one that failed (and was reported) is
    // made good by the next change, pause or shutdown.
    SaveWriter::SaveBytes(FileName, WriteAwardsFile(awards));
}

Award* AllAwards::GetAward(int level)
{
    if (level < 0 || level >= LevelCount)
        return nullptr;
    return Get().awards[level];
}

Award* AllAwards::GetGroupAward(int group)
{
    if (group < 0 || group > StageCount)
        return nullptr;
    return Get().awards[LevelCount + group];
}

int AllAwards::GetGroupMaxStars(int group)
{
    if (group < 0 || group >= StageCount)
        return 0; // no level awards there
    int stars = 0;
    for (int i = 8 * group; i < 8 * group + 8; i++)
        if (Award* award = GetAward(i))
            stars += award->GetMaxStars();
    return stars;
}

int AllAwards::GetGroupEarnedStars(int group)
{
    if (group < 0 || group >= StageCount)
        return 0; // no level awards there
    int stars = 0;
    for (int i = 8 * group; i < 8 * group + 8; i++)
        if (Award* award = GetAward(i))
            stars += award->GetEarnedStars();
    return stars;
}

void AllAwards::Save()
{
    Get().SaveFile();
}

void AllAwards::Unload()
{
    AllAwards*& instance = Instance();
    delete instance;
    instance = nullptr;
}
