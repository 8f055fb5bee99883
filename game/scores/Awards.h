// The awards of the designed levels, the eight Gauntlet stages and the full
// Gauntlet: up to three stars each. Flag 0: the kill threshold was reached;
// flag 1: won without the planet cannon and with population left; flag 2: no
// population lost. Flags only ever go from 0 to 1.
//
// Main thread only.
#pragma once

#include "engine/core/Event.h"

#include <cstdint>

class SaveReader;
class SaveWriter;

class Award
{
public:
    explicit Award(int32_t value);
    Award(const Award&) = delete;
    Award& operator=(const Award&) = delete;

    int32_t GetValue() const { return value; }
    bool IsAchieved() const { return flags[0] != 0; }
    bool GetFlag1() const { return flags[1] != 0; }
    bool GetFlag2() const { return flags[2] != 0; }

    // Each sets its flag and raises Changed, even when it was set already.
    void SetAchieved() { SetFlag(0); }
    void SetFlag1() { SetFlag(1); }
    void SetFlag2() { SetFlag(2); }
    void SetFlag(int flag);

    // 2 for an award without a kill threshold, else 3.
    int GetMaxStars() const;
    // A reached threshold counts only when there is one.
    int GetEarnedStars() const;

    // The three flag bytes in the order 0, 1, 2. A failed read leaves the
    // flags as they were.
    bool Read(SaveReader& reader);
    void Write(SaveWriter& writer) const;

    unsigned char flags[3];
    int value; // the kill threshold; 0 = no kill star
    Vexel::Event<> Changed;
};

class AllAwards
{
public:
    static const int LevelCount = 64;
    static const int StageCount = 8;
    static const int Count = LevelCount + StageCount + 1; // the last is the full Gauntlet
    static const int32_t FileVersion = 7;
    static const char* const FileName; // "awards.awd"

    // Award i of the designed levels 0..63, or null outside that range.
    static Award* GetAward(int level);
    // Award of Gauntlet stage 0..7, 8 being the full Gauntlet; null outside.
    static Award* GetGroupAward(int group);
    // Sums over the level awards 8g..8g+7.
    static int GetGroupMaxStars(int group);
    static int GetGroupEarnedStars(int group);

    // Writes the level and stage flags; the full Gauntlet's are not kept.
    // Runs on every flag change and on Pause and Shutdown.
    static void Save();

    // The kill threshold of every designed level.
    static const int32_t Thresholds[LevelCount];
    // trunc((S x 85 - 2125) / 10000) x 100 for the sum S of a stage's eight
    // level thresholds, and 80 % of the sum of the stage values.
    static int32_t StageValue(int stage);
    static int32_t GauntletValue();

    // Forgets the loaded awards; the next call reads the file again. For tests.
    static void Unload();

private:
    AllAwards();
    ~AllAwards();
    static AllAwards*& Instance();
    static AllAwards& Get();
    void Load();
    void SaveFile();
    void OnChanged() { SaveFile(); }

    Award* awards[Count];
};
