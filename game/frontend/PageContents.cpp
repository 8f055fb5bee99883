// What each of the 44 menu pages holds: the elements and rows that ShowPage
// brings in (the page frame, play-screen alpha and bottom buttons, is set
// before this runs).
#include "game/frontend/MainScreen.h"

#include "engine/ui/UIHelper.h"
#include "engine/graphics/type/IFont.h"
#include "game/audio/GameMusic.h"
#include "game/frontend/CalibrationLineElement.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/HelpTexts.h"
#include "game/frontend/LeaderboardPageElement.h"
#include "game/frontend/LevelDescriptions.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/NumberSelectionElement.h"
#include "game/frontend/ScaleElement.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "game/play/GameScreen.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UISlider.h"
#include "game/widgets/UITextButton.h"
#include "game/widgets/UITextureButton.h"

#include <algorithm>
#include <cstring>
#include <string>

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

typedef Vexel::Action<Element*, Vector2 const&> PressHandler;

const Color kWhite(255, 255, 255, 255);
const Color kRed(255, 127, 127, 255);
const Color kBlue(127, 212, 255, 255);
const Color kGreen(127, 255, 212, 255);
const Color kAlarm(255, 70, 90, 255);
const Color kInvisible(0, 0, 0, 0);

const char* const kFlatText =
    "Hold the device more vertically,\nas if you were taking a picture.\nTry to rotate this text.\n\nWith "
    "tilt "
    "controls, bullets shoot straight up, relative to the device.\n\nIf this is disorienting, or you are in "
    "space or something, you can disable tilt controls in the control options menu.";
// Our face is wider than the one this page was drawn for: at 38 px in 480 px
// its first lines broke before their last word. A little smaller and wider,
// each of them fits on its line.
const float kFlatTextFont = 34.0f;
const float kFlatTextWidth = 560.0f;
const char* const kSurrenderText = "Are you sure?\n\nBillions of lives are at stake!";
const char* const kCalibrateText = "Press \"Calibrate\" when the top of the device is pointing up, as though "
                                   "you were taking a portrait picture.";
const char* const kTiltLine =
    "Bullets shoot straight up!\nHold the device vertically, as\nif you were taking a "
    "picture.";
const char* const kLocksLine =
    "Double-tap to lock a target.\nSet it and forget it! Then lose.\nSingle-tap to "
    "unlock a target.";
const char* const kSubmitOnline = "Submit Score Online!";
const char* const kDontSubmit = "Don't Submit Online...";
const char* const kSweepLine = "\"sweep up\" existing locks\nby dragging over them.\nRemoves locks quickly.";

// The pictures of the help pages 30..42: tile (0: none) and whether it is
// the small awards picture or an enemy strip.
struct HelpPicture
{
    int tile;
    bool half; // textBlockSize x (0.5, 1) instead of textBlockSize
};
const HelpPicture kHelpPictures[13] = {
    {0, false},   {80, true},   {0, false},   {0, false},   {0, false},   {0, false},   {0, false},
    {177, false}, {182, false}, {180, false}, {179, false}, {178, false}, {181, false},
};

PageRow Row(int beepVariant, Color colour, int tile, const char* label, PressHandler handler)
{
    PageRow row;
    row.beepVariant = beepVariant;
    row.colour = colour;
    row.tile = tile ? MenuTile(tile) : nullptr;
    row.label = label;
    row.handler = handler;
    return row;
}

PageRow EmptyRow()
{
    return PageRow();
}

// The x of a line whose widest row should stand centred on x = centre.
float CentredX(Vexel::Graphics::Type::IFont* font, std::string const& text, float centre)
{
    if (!font)
        return centre;
    float widest = 0.0f;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const float w = font->Measure(text.substr(start, end - start)).x;
        if (w > widest)
            widest = w;
        start = end + 1;
    }
    return centre - widest / 2.0f;
}

// The drawn size of a check button whose labels should each stand on one
// line: the button sizes its label's font by its height (0.63 of it) and
// keeps its face (a tile 153 square) and two half-height caps beside it, so a
// face too wide for the plate is met with a thinner plate.
Vector2 FitCheckButton(Vector2 drawn, const char* on, const char* off)
{
    const float kLabelFont = 0.63f;
    TileInfo const* face = MenuTile(153);
    const float faceRatio = face && face->size.y > 0.0f ? face->size.x / face->size.y : 1.0f;
    Vexel::Graphics::Type::IFont* font = GetFont(kLabelFont * drawn.y);
    if (!font || !(drawn.y > 0.0f))
        return drawn;
    float perHeight = 0.0f; // label width per unit of button height
    for (const char* label : {on, off})
        perHeight = std::max(perHeight, font->Measure(label).x / drawn.y);
    const float fit = 0.97f * drawn.x / (perHeight + 1.0f + faceRatio);
    return Vector2(drawn.x, std::min(drawn.y, fit));
}

} // namespace

void MainScreen::BuildPageContent(PageBuild& build)
{
    MenuMetrics const& m = metrics;
    const float cs = m.contentScale;
    const Vector2 screenSize = GetSize();
    std::vector<Element*>& out = build.elements;
    const int page = build.page;

    // A screen-sized holder that zooms its one text element with the page.
    // A screen-sized holder that zooms its one text element with the page.
    // With a room (a height), a face too wide for the design steps the font
    // down until the wrapped text is no taller than that.
    auto textHolder = [&](std::vector<LinotypeLine> const& lines, Vector2 at, float fontSize, bool followTilt,
                          float room = 0.0f)
    {
        ScaleElement* holder =
            new ScaleElement(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), screenSize, 1.0f, true),
                             this, false, followTilt);
        UILinotypeElement* text =
            new UILinotypeElement(lines, ElementPosition(at, 0), this, GetFont(fontSize));
        const float smallest = fontSize * 0.55f;
        while (room > 0.0f && text->GetSize().y > room && fontSize > smallest)
        {
            delete text;
            fontSize = std::max(fontSize * 0.92f, smallest);
            text = new UILinotypeElement(lines, ElementPosition(at, 0), this, GetFont(fontSize));
        }
        holder->AddChild(text);
        out.push_back(holder);
    };
    auto oneLine = [](const char* text, float width, Color colour)
    { return std::vector<LinotypeLine>(1, LinotypeLine(text, Vector2(0.0f, 0.0f), width, colour)); };
    auto checkButton = [&](Vector2 at, Vector2 cellFactor, Vector2 drawFactor, const char* on,
                           const char* off, bool state, void (MainScreen::*handler)(UICheckButton*, bool))
    {
        UICheckButton* button = new UICheckButton(
            ElementLayout(ElementPosition(at, 0), m.wideRowCell * cellFactor, 1.0f, true),
            FitCheckButton(m.wideRowSize * drawFactor, on, off), &firstBatch, &secondBatch, on, off, state);
        button->Toggled.Subscribe(Vexel::Action<UICheckButton*, bool>(this, handler));
        AttachMenuBeep(button, 2);
        out.push_back(button);
        return button;
    };

    switch (page)
    {
    case 1:
        out.push_back(MakeBigButton(Vector2(1.0f, -1.0f), MenuTile(87),
                                    PressHandler(this, &MainScreen::OnShowQuickstart)));
        out.push_back(MakeBigButton(Vector2(-1.0f, -1.0f), MenuTile(86),
                                    PressHandler(this, &MainScreen::OnShowClassic)));
        out.push_back(MakeBigButton(Vector2(-1.0f, 1.0f), MenuTile(85),
                                    PressHandler(this, &MainScreen::OnShowGauntlet)));
        out.push_back(
            MakeBigButton(Vector2(1.0f, 1.0f), MenuTile(88), PressHandler(this, &MainScreen::OnShowStages)));
        break;

    case 3:
    case 4:
    {
        out.push_back(new UITextureButton(
            ElementLayout(ElementPosition(Vector2(0.0f, -250.0f * cs), 0), m.descriptionSize, 1.0f, true),
            MenuTile(page == 3 ? 75 : 74), m.descriptionSize, 2, &firstBatch, &secondBatch, false, kWhite,
            false));
        if (page == 4)
            GameMusic::Play(0, true, 0.4f, 0.2f);
        else
        {
            const int mode = gameScreen ? gameScreen->GetSimulation().GetMode() : 0;
            if (mode == 3 || mode == 4)
                GameMusic::Play(0, true, 15.0f, 2.0f);
            else
                GameMusic::Play(3, true, 0.22f, 0.0f);
        }
        break;
    }

    case 5:
    {
        Element* awards = MakeResultsAwardsBlock();
        if (awards)
            out.push_back(awards);
        const float drumHeight = awards ? 390.0f : 440.0f;
        const float checkDistance = awards ? 260.0f : 300.0f;
        const float y = awards ? 70.0f * cs : -35.0f * cs;
        const Vector2 drumSize = Vector2(160.0f, drumHeight) * cs;
        const Vector2 separatorSize = Vector2(10.0f, 320.0f) * cs;
        for (int i = 0; i < 3; ++i)
            out.push_back(new NumberSelectionElement(
                ElementLayout(ElementPosition(Vector2(drumSize.x * float(i - 1), y), 0), drumSize, 1.0f,
                              true),
                i, this, &firstBatch));
        const float separators[4] = {-1.5f, -0.5f, 0.5f, 1.5f};
        for (float k : separators)
            out.push_back(new UITextureButton(
                ElementLayout(ElementPosition(Vector2(k * drumSize.x, y), 0), separatorSize, 1.0f, true),
                MenuTile(0), separatorSize, 2, &firstBatch, &secondBatch, false, Color(255, 255, 255, 175),
                false));
        UICheckButton* online = new UICheckButton(
            ElementLayout(ElementPosition(Vector2(0.0f, checkDistance * cs + y), 0),
                          m.wideRowCell * Vector2(1.4f, 1.0f), 1.0f, true),
            FitCheckButton(m.wideRowSize * Vector2(1.4f, 0.8f), kSubmitOnline, kDontSubmit), &firstBatch,
            &secondBatch, kSubmitOnline, kDontSubmit, GamePrefs::GetSubmitOnline());
        online->Toggled.Subscribe(
            Vexel::Action<UICheckButton*, bool>(this, &MainScreen::OnSubmitOnlineToggled));
        AttachMenuBeep(online, 2);
        out.push_back(online);
        break;
    }

    case 6:
    {
        HighScores::ITopScore* table = nullptr;
        switch (build.previousPage)
        {
        case 1:
        case 8:
        case 9:
            table = HighScores::GetInfiniteScores();
            break;
        case 20:
            table = HighScores::GetLevelScores(chosenLevel);
            break;
        case 21:
            table = HighScores::GetStageScores(chosenStage);
            break;
        default:
            break;
        }
        if (table)
            out.push_back(new LeaderboardPageElement(table, this, &secondBatch, cs));
        break;
    }

    case 7:
        textHolder(oneLine(kFlatText, kFlatTextWidth * cs, kRed), Vector2(0.0f, 0.0f), kFlatTextFont * cs, true);
        break;

    case 8:
    case 9:
        LayOutPageContent(out, MakeEndlessBlock(page == 8), HighScores::GetInfiniteScores(), nullptr);
        break;

    case 10:
        for (int k = 0; k < 9; ++k)
        {
            const int item = GridOrder[k];
            Element* button = MakeGridButton(Vector2(float(k % 3 - 1), float(k / 3 - 1)), GauntletTile(item),
                                             GridChoiceHandler(this, item));
            out.push_back(button);
            Award* award = AllAwards::GetGroupAward(item);
            out.push_back(MakeProgressBadge(button, award ? award->GetEarnedStars() : 0,
                                            award ? award->GetMaxStars() : 0));
        }
        break;

    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
        for (int k = 0; k < 8; ++k)
        {
            // The third row's two buttons stand centred.
            const Vector2 cell =
                k < 6 ? Vector2(float(k % 3 - 1), float(k / 3 - 1)) : Vector2(float(k % 3) - 0.5f, 1.0f);
            if (page == 11)
            {
                const int item = GridOrder[k];
                Element* button = MakeGridButton(cell, GauntletTile(item), GridChoiceHandler(this, item));
                out.push_back(button);
                out.push_back(MakeProgressBadge(button, AllAwards::GetGroupEarnedStars(item),
                                                AllAwards::GetGroupMaxStars(item)));
            }
            else
            {
                const int level = StageStart[page - 12] + k;
                Element* button = MakeGridButton(cell, LevelTile(level), GridChoiceHandler(this, k));
                out.push_back(button);
                Award* award = AllAwards::GetAward(level);
                out.push_back(MakeProgressBadge(button, award ? award->GetEarnedStars() : 0,
                                                award ? award->GetMaxStars() : 0));
            }
        }
        break;

    case 20:
        if ((chosenLevel >= 16 && chosenLevel <= 31) || (chosenLevel >= 48 && chosenLevel <= 55))
            build.titleKind = 1;
        LayOutPageContent(out, MakeLevelDescriptionBlock(chosenLevel, build.titleKind),
                          HighScores::GetLevelScores(chosenLevel), AllAwards::GetAward(chosenLevel));
        break;

    case 21:
        LayOutPageContent(out, MakeStageDescriptionBlock(chosenStage, build.titleKind),
                          HighScores::GetStageScores(chosenStage), AllAwards::GetGroupAward(chosenStage));
        break;

    case 22:
        build.rowWidthFactor = 1.1f;
        for (int i = 0; i < 4; ++i)
            build.rows.push_back(EmptyRow());
        build.rows.push_back(Row(0, kRed, 155, "Surrender!", PressHandler(this, &MainScreen::OnSurrender)));
        build.wideRows.insert(4);
        {
            // Between the title bar and the "Surrender!" row, the last of five.
            const float at = -90.0f * cs;
            const float top = -screenSize.y / 2.0f + m.titleBarHeight + 8.0f * cs;
            const float bottom = 2.0f * 114.0f * cs - m.wideRowCell.y * 1.25f / 2.0f - 12.0f * cs;
            textHolder(oneLine(kSurrenderText, 540.0f * cs, kAlarm), Vector2(0.0f, at), 85.0f * cs, false,
                       2.0f * std::min(at - top, bottom - at));
        }
        break;

    case 23:
        build.rows.push_back(Row(0, kRed, 155, "More Games!", PressHandler(this, &MainScreen::OnMoreGames)));
        build.rows.push_back(Row(0, kBlue, 153, "Audio", ShowPageHandler(this, 25)));
        build.rows.push_back(Row(0, kBlue, 153, "Controls", ShowPageHandler(this, 27)));
        build.rows.push_back(Row(0, kGreen, 154, "Information", ShowPageHandler(this, 28)));
        build.wideRows.insert(0);
        build.gapAfter.insert(0);
        break;

    case 24:
        out.push_back(new CalibrationLineElement(this, &firstBatch, screenSize));
        build.rowWidthFactor = 1.0f;
        for (int i = 0; i < 4; ++i)
            build.rows.push_back(EmptyRow());
        build.rows.push_back(Row(2, kGreen, 154, "Calibrate!", PressHandler(this, &MainScreen::OnCalibrate)));
        build.wideRows.insert(4);
        textHolder(oneLine(kCalibrateText, 540.0f * cs, kAlarm), Vector2(0.0f, -32.0f * cs), 52.0f * cs,
                   false);
        break;

    case 25:
    {
        const float labelWidth = m.wideRowCell.x * 1.4f;
        const float base = m.wideRowCell.y * 1.25f;
        // The labels keep to one line: a wide face gets a smaller font.
        float fontSize = 54.0f * cs;
        Vexel::Graphics::Type::IFont* font = GetFont(fontSize);
        if (font)
        {
            float widest = 0.0f;
            for (const char* label : {"Music volume level", "Effects volume level"})
                widest = std::max(widest, font->Measure(label).x);
            if (widest > 0.97f * labelWidth)
            {
                fontSize *= 0.97f * labelWidth / widest;
                font = GetFont(fontSize);
            }
        }
        // Three invisible marks that centre the text block on the screen, so
        // the labels can be placed in screen offsets.
        std::vector<LinotypeLine> lines;
        lines.push_back(LinotypeLine("a", Vector2(40.0f * cs, -10000.0f), 1000.0f, kInvisible));
        lines.push_back(LinotypeLine("a", Vector2(40.0f * cs, 10000.0f), 1000.0f, kInvisible));
        lines.push_back(LinotypeLine("a", Vector2(-40.0f * cs, 0.0f), 1000.0f, kInvisible));

        checkButton(Vector2(0.0f, base - 2.8f * m.wideRowCell.y), Vector2(1.4f, 1.0f), Vector2(1.4f, 0.9f),
                    "Sound Enabled", "Sound Disabled", GamePrefs::IsSoundEnabled(),
                    &MainScreen::OnSoundToggled);

        auto slider =
            [&](float y, float volume, const char* label, void (MainScreen::*handler)(UISlider*, int))
        {
            UISlider* s = new UISlider(ElementLayout(ElementPosition(Vector2(0.0f, y), 0),
                                                     m.wideRowCell * Vector2(1.4f, 1.22f), 1.0f, true),
                                       m.wideRowSize * Vector2(1.4f, 1.22f), &firstBatch, &secondBatch, 0,
                                       100, int(volume * 100.0f), false);
            s->Changed.Subscribe(Vexel::Action<UISlider*, int>(this, handler));
            out.push_back(s);
            lines.push_back(
                LinotypeLine(label, Vector2(CentredX(font, label, 0.0f), y - 85.0f * cs), labelWidth, kBlue));
            return s;
        };
        slider(base - 1.1f * m.wideRowCell.y, GamePrefs::GetMusicVolume(), "Music volume level",
               &MainScreen::OnMusicVolume);
        UISlider* effects = slider(base + 0.5f * m.wideRowCell.y, GamePrefs::GetSoundVolume(),
                                   "Effects volume level", &MainScreen::OnEffectsVolume);
        effects->TouchedUp.Subscribe(
            Vexel::Action<Element*, Vector2 const&, int>(this, &MainScreen::OnEffectsSliderReleased));
        textHolder(lines, Vector2(0.0f, 0.0f), fontSize, false);
        break;
    }

    case 26:
        checkButton(Vector2(0.0f, 0.0f), Vector2(1.32f, 0.92f), Vector2(1.32f, 0.92f), "Vibration: On",
                    "Vibration: Off", GamePrefs::GetVibration(), &MainScreen::OnVibrationToggled);
        break;

    case 27:
    {
        const float lineWidth = m.wideRowCell.x * 1.4f;
        const float step = m.wideRowCell.y;
        Vexel::Graphics::Type::IFont* font = GetFont(34.0f * cs);
        std::vector<LinotypeLine> lines;
        lines.push_back(LinotypeLine("a", Vector2(0.0f, -10000.0f), 1000.0f, kInvisible));
        lines.push_back(LinotypeLine("a", Vector2(0.0f, 10000.0f), 1000.0f, kInvisible));
        lines.push_back(LinotypeLine("a", Vector2(-120.0f * cs, 0.0f), 1000.0f, kInvisible));
        // 135 design pixels above the button, higher when the face's rows
        // would reach down onto its plate.
        auto label = [&](const char* text, float buttonY)
        {
            float y = buttonY - 135.0f * cs;
            if (font)
            {
                const float rows = float(std::count(text, text + std::strlen(text), '\n'));
                const float buttonTop = buttonY - m.wideRowCell.y / 2.0f;
                const float lastBaseline = buttonTop - 6.0f * cs - 0.25f * font->GetSize();
                y = std::min(y, lastBaseline - rows * font->GetLineSpacing());
            }
            lines.push_back(LinotypeLine(text, Vector2(CentredX(font, text, 0.0f), y), lineWidth, kBlue));
        };
        const Vector2 cell(1.4f, 1.0f), drawn(1.4f, 0.9f);

        checkButton(Vector2(0.0f, -2.1f * step), cell, drawn, "Tilt Controls: On", "Tilt Controls: Off",
                    GamePrefs::GetTiltControls(), &MainScreen::OnTiltToggled);
        label(kTiltLine, -2.1f * step);

        UITextButton* calibrate = new UITextButton(
            ElementLayout(ElementPosition(Vector2(0.0f, -step), 0), m.wideRowCell * cell, 1.0f, true),
            MenuTile(155), m.wideRowSize * drawn, m.wideRowSize.y * 0.9f * 0.5f, 1, &firstBatch, &secondBatch,
            "Calibrate...", kRed);
        calibrate->Clicked.Subscribe(PressHandler(this, &MainScreen::OnShowCalibration));
        AttachMenuBeep(calibrate, 0);
        out.push_back(calibrate);

        UICheckButton* locks =
            checkButton(Vector2(0.0f, step), cell, drawn, "Target Locks: On", "Target Locks: Off",
                        GamePrefs::GetTargetLocks(), &MainScreen::OnLocksToggled);
        label(kLocksLine, step);
        UICheckButton* sweep =
            checkButton(Vector2(0.0f, 3.0f * step), cell, drawn, "Target Sweep: On", "Target Sweep: Off",
                        GamePrefs::GetTargetSweep(), &MainScreen::OnSweepToggled);
        label(kSweepLine, 3.0f * step);
        textHolder(lines, Vector2(0.0f, 0.0f), 34.0f * cs, false);

        // Sweeping needs locks: switching them off greys the option out.
        sweep->SetEnabled(GamePrefs::GetTargetLocks());
        locks->CheckedChanged.Subscribe(
            Vexel::Action<bool>(static_cast<Element*>(sweep), &Element::SetEnabled));
        break;
    }

    case 28:
        build.rowWidthFactor = 1.32f;
        build.rows.push_back(Row(0, kRed, 155, "Know your enemy", ShowPageHandler(this, 29)));
        build.rows.push_back(Row(0, kBlue, 153, "Score keeping", ShowPageHandler(this, 30)));
        build.rows.push_back(Row(0, kBlue, 153, "Achievements", ShowPageHandler(this, 31)));
        build.rows.push_back(Row(0, kBlue, 153, "Basic Shooting", ShowPageHandler(this, 32)));
        build.rows.push_back(Row(0, kBlue, 153, "Lock Tactics", ShowPageHandler(this, 33)));
        build.rows.push_back(Row(0, kBlue, 153, "Planet Cannon", ShowPageHandler(this, 34)));
        build.rows.push_back(Row(0, kGreen, 154, "General strategy", ShowPageHandler(this, 35)));
        break;

    case 29:
        build.rowWidthFactor = 1.25f;
        build.rows.push_back(Row(0, kBlue, 153, "How many??", ShowPageHandler(this, 36)));
        build.rows.push_back(Row(0, kBlue, 153, "Basic enemies", ShowPageHandler(this, 37)));
        build.rows.push_back(Row(0, kBlue, 153, "Spawners", ShowPageHandler(this, 38)));
        build.rows.push_back(Row(0, kBlue, 153, "Landers", ShowPageHandler(this, 39)));
        build.rows.push_back(Row(0, kBlue, 153, "Builders", ShowPageHandler(this, 40)));
        build.rows.push_back(Row(0, kBlue, 153, "Bosses", ShowPageHandler(this, 41)));
        build.rows.push_back(Row(0, kBlue, 153, "Spawner bosses", ShowPageHandler(this, 42)));
        break;

    case 30:
    case 31:
    case 32:
    case 33:
    case 34:
    case 35:
    case 36:
    case 37:
    case 38:
    case 39:
    case 40:
    case 41:
    case 42:
    {
        HelpPicture const& picture = kHelpPictures[page - 30];
        const Vector2 size = picture.tile == 0
                                 ? Vector2(0.0f, 0.0f)
                                 : (picture.half ? m.textBlockSize * Vector2(0.5f, 1.0f) : m.textBlockSize);
        out.push_back(
            MakeInfoBlock(picture.tile ? MenuTile(picture.tile) : nullptr, size, GetHelpText(page)));
        break;
    }

    case 43:
        if (build.previousPage == 8 || build.previousPage == 9)
            out.push_back(MakeInfoBlock(nullptr, Vector2(0.0f, 0.0f), kEndlessTip));
        else if (build.previousPage == 20)
            out.push_back(MakeInfoBlock(LevelTile(chosenLevel), m.gridButtonSize, GetLevelHint(chosenLevel)));
        else if (build.previousPage == 21)
            out.push_back(MakeInfoBlock(GauntletTile(chosenStage > 8 ? 8 : chosenStage), m.gridButtonSize,
                                        kGauntletTip));
        break;

    default: // 0, 2 and anything outside the table: nothing
        break;
    }
}
