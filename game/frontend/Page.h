// The 44 menu pages by name. The numbers are those of the page stack in
// "state.sav" and of the COBALT_KEEP_SHOW_PAGES seam: they never change.
#pragma once

struct Page
{
    enum Enum
    {
        None = 0, // nothing shown; the game hidden
        Title = 1,
        Game = 2,         // a game running
        ResultsAlive = 3, // results, planet alive
        ResultsLost = 4,  // results, planet lost
        NameEntry = 5,
        Leaderboard = 6,
        DeviceTooFlat = 7,
        Quickstart = 8,
        Classic = 9,
        Gauntlet = 10,    // the 3 x 3 grid of stages and the full Gauntlet
        StageSelect = 11, // the eight stages, for their levels
        StageChaos = 12,  // 12..19: the eight levels of one stage
        StageOrder = 13,
        StageVanguard = 14,
        StageTactical = 15,
        StageFlanked = 16,
        StageSwarm = 17,
        StageHorde = 18,
        StageGanked = 19,
        SelectedLevel = 20,
        GauntletStage = 21,
        Surrender = 22,
        GameOptions = 23,
        TiltCalibration = 24,
        AudioOptions = 25,
        Vibration = 26,
        ControlOptions = 27,
        Information = 28,
        KnowYourEnemy = 29,
        ScoreKeeping = 30, // 30..42: the help pages
        Achievements = 31,
        Shooting = 32,
        LockTactics = 33,
        PlanetCannon = 34,
        GeneralStrategy = 35,
        HowMany = 36,
        BasicEnemies = 37,
        Spawners = 38,
        Landers = 39,
        Builders = 40,
        Bosses = 41,
        SpawnerBosses = 42,
        StrategyTips = 43,
        Count = 44,

        FirstStageLevels = StageChaos,
        LastStageLevels = StageGanked
    };
};
