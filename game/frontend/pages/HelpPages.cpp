// The information menus, the help pages 30..42 and the strategy tips of the
// page they were opened from.
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/pages/PageBuilders.h"
#include "game/frontend/pages/PageParts.h"
#include "game/frontend/text/HelpTexts.h"
#include "game/frontend/text/LevelDescriptions.h"

using namespace PageColours;

namespace
{

// The pictures of the help pages: tile (0: none) and whether it is the small
// awards picture or an enemy strip.
struct HelpPicture
{
    int tile;
    bool half; // textBlockSize x (0.5, 1) instead of textBlockSize
};
const HelpPicture kHelpPictures[Page::SpawnerBosses - Page::ScoreKeeping + 1] = {
    {0, false},   {80, true},   {0, false},   {0, false},   {0, false},   {0, false},   {0, false},
    {177, false}, {182, false}, {180, false}, {179, false}, {178, false}, {181, false},
};

struct MenuRow
{
    int tile;
    const char* label;
    Page::Enum page;
};

void AddMenuRows(MainScreen& screen, PageBuild& build, MenuRow const* rows, int count)
{
    for (int i = 0; i < count; ++i)
    {
        const Color colour = rows[i].tile == 155 ? Red : rows[i].tile == 154 ? Green : Blue;
        build.rows.push_back(MakeRow(0, colour, rows[i].tile, rows[i].label,
                                     MainScreen::ShowPageHandler(&screen, rows[i].page)));
    }
}

} // namespace

void BuildInformationPage(MainScreen& screen, PageBuild& build)
{
    static const MenuRow rows[] = {
        {155, "Know your enemy", Page::KnowYourEnemy},    {153, "Score keeping", Page::ScoreKeeping},
        {153, "Achievements", Page::Achievements},        {153, "Basic Shooting", Page::Shooting},
        {153, "Lock Tactics", Page::LockTactics},         {153, "Planet Cannon", Page::PlanetCannon},
        {154, "General strategy", Page::GeneralStrategy},
    };
    build.rowWidthFactor = 1.32f;
    AddMenuRows(screen, build, rows, int(sizeof(rows) / sizeof(rows[0])));
}

void BuildKnowYourEnemyPage(MainScreen& screen, PageBuild& build)
{
    static const MenuRow rows[] = {
        {153, "How many??", Page::HowMany},
        {153, "Basic enemies", Page::BasicEnemies},
        {153, "Spawners", Page::Spawners},
        {153, "Landers", Page::Landers},
        {153, "Builders", Page::Builders},
        {153, "Bosses", Page::Bosses},
        {153, "Spawner bosses", Page::SpawnerBosses},
    };
    build.rowWidthFactor = 1.25f;
    AddMenuRows(screen, build, rows, int(sizeof(rows) / sizeof(rows[0])));
}

void BuildHelpPage(MainScreen& screen, PageBuild& build)
{
    MenuMetrics const& m = screen.GetMetrics();
    HelpPicture const& picture = kHelpPictures[build.page - Page::ScoreKeeping];
    const Vector2 size = picture.tile == 0
                             ? Vector2(0.0f, 0.0f)
                             : (picture.half ? m.textBlockSize * Vector2(0.5f, 1.0f) : m.textBlockSize);
    build.elements.push_back(
        screen.MakeInfoBlock(picture.tile ? MenuTile(picture.tile) : nullptr, size, GetHelpText(build.page)));
}

void BuildStrategyTipsPage(MainScreen& screen, PageBuild& build)
{
    MenuMetrics const& m = screen.GetMetrics();
    const int from = build.previousPage;
    if (from == Page::Quickstart || from == Page::Classic)
        build.elements.push_back(screen.MakeInfoBlock(nullptr, Vector2(0.0f, 0.0f), kEndlessTip));
    else if (from == Page::SelectedLevel)
        build.elements.push_back(screen.MakeInfoBlock(LevelTile(screen.GetChosenLevel()), m.gridButtonSize,
                                                      GetLevelHint(screen.GetChosenLevel())));
    else if (from == Page::GauntletStage)
    {
        const int stage = screen.GetChosenStage();
        build.elements.push_back(
            screen.MakeInfoBlock(GauntletTile(stage > 8 ? 8 : stage), m.gridButtonSize, kGauntletTip));
    }
}
