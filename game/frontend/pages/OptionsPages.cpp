// The pages of a paused game and the options: "Device Too Flat", the
// surrender question, the game options (the pause menu), the tilt
// calibration, audio, vibration and control options.
#include "engine/graphics/type/IFont.h"
#include "engine/ui/UIHelper.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MainScreen.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/elements/CalibrationLineElement.h"
#include "game/frontend/pages/PageBuilders.h"
#include "game/frontend/pages/PageParts.h"
#include "game/scores/GamePrefs.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UISlider.h"
#include "game/widgets/UITextButton.h"

#include <algorithm>
#include <cstring>

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;
using namespace PageColours;

namespace
{
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
const char* const kSweepLine = "\"sweep up\" existing locks\nby dragging over them.\nRemoves locks quickly.";
} // namespace

void BuildDeviceTooFlatPage(MainScreen& screen, PageBuild& build)
{
    const float cs = screen.GetMetrics().contentScale;
    AddTextHolder(screen, build, OneLine(kFlatText, kFlatTextWidth * cs, Red), Vector2(0.0f, 0.0f), kFlatTextFont * cs, true);
}

void BuildSurrenderPage(MainScreen& screen, PageBuild& build)
{
    MenuMetrics const& m = screen.GetMetrics();
    const float cs = m.contentScale;
    build.rowWidthFactor = 1.1f;
    for (int i = 0; i < 4; ++i)
        build.rows.push_back(EmptyRow());
    build.rows.push_back(MakeRow(0, Red, 155, "Surrender!", PressHandler(&screen, &MainScreen::OnSurrender)));
    build.wideRows.insert(4);
    // Between the title bar and the "Surrender!" row, the last of five.
    const float at = -90.0f * cs;
    const float top = -screen.GetSize().y / 2.0f + m.titleBarHeight + 8.0f * cs;
    const float bottom = 2.0f * 114.0f * cs - m.wideRowCell.y * 1.25f / 2.0f - 12.0f * cs;
    AddTextHolder(screen, build, OneLine(kSurrenderText, 540.0f * cs, Alarm), Vector2(0.0f, at), 85.0f * cs,
                  false, 2.0f * std::min(at - top, bottom - at));
}

void BuildGameOptionsPage(MainScreen& screen, PageBuild& build)
{
    // The pause menu of a running game offers the surrender.
    if (build.previousPage == Page::Game)
    {
        build.leftButton = screen.GetLowerBackButton();
        build.rightButton = screen.GetSurrenderButton();
    }
    build.rows.push_back(
        MakeRow(0, Red, 155, "More Games!", PressHandler(&screen, &MainScreen::OnMoreGames)));
    build.rows.push_back(
        MakeRow(0, Blue, 153, "Audio", MainScreen::ShowPageHandler(&screen, Page::AudioOptions)));
    build.rows.push_back(
        MakeRow(0, Blue, 153, "Controls", MainScreen::ShowPageHandler(&screen, Page::ControlOptions)));
    build.rows.push_back(
        MakeRow(0, Green, 154, "Information", MainScreen::ShowPageHandler(&screen, Page::Information)));
    build.wideRows.insert(0);
    build.gapAfter.insert(0);
}

void BuildCalibrationPage(MainScreen& screen, PageBuild& build)
{
    const float cs = screen.GetMetrics().contentScale;
    build.elements.push_back(
        new CalibrationLineElement(screen.GetFlusher(), screen.GetFirstBatch(), screen.GetSize()));
    build.rowWidthFactor = 1.0f;
    for (int i = 0; i < 4; ++i)
        build.rows.push_back(EmptyRow());
    build.rows.push_back(
        MakeRow(2, Green, 154, "Calibrate!", PressHandler(&screen, &MainScreen::OnCalibrate)));
    build.wideRows.insert(4);
    AddTextHolder(screen, build, OneLine(kCalibrateText, 540.0f * cs, Alarm), Vector2(0.0f, -32.0f * cs),
                  52.0f * cs, false);
}

void BuildAudioOptionsPage(MainScreen& screen, PageBuild& build)
{
    MenuMetrics const& m = screen.GetMetrics();
    const float cs = m.contentScale;
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
    lines.push_back(LinotypeLine("a", Vector2(40.0f * cs, -10000.0f), 1000.0f, Invisible));
    lines.push_back(LinotypeLine("a", Vector2(40.0f * cs, 10000.0f), 1000.0f, Invisible));
    lines.push_back(LinotypeLine("a", Vector2(-40.0f * cs, 0.0f), 1000.0f, Invisible));

    AddCheckButton(screen, build, Vector2(0.0f, base - 2.8f * m.wideRowCell.y), Vector2(1.4f, 1.0f),
                   Vector2(1.4f, 0.9f), "Sound Enabled", "Sound Disabled", GamePrefs::IsSoundEnabled(),
                   &MainScreen::OnSoundToggled);

    auto slider = [&](float y, float volume, const char* label, void (MainScreen::*handler)(UISlider*, int))
    {
        UISlider* s = new UISlider(ElementLayout(ElementPosition(Vector2(0.0f, y), 0),
                                                 m.wideRowCell * Vector2(1.4f, 1.22f), 1.0f, true),
                                   m.wideRowSize * Vector2(1.4f, 1.22f), screen.GetFirstBatch(),
                                   screen.GetSecondBatch(), 0, 100, int(volume * 100.0f), false);
        s->Changed.Subscribe(Vexel::Action<UISlider*, int>(&screen, handler));
        build.elements.push_back(s);
        lines.push_back(
            LinotypeLine(label, Vector2(CentredX(font, label, 0.0f), y - 85.0f * cs), labelWidth, Blue));
        return s;
    };
    slider(base - 1.1f * m.wideRowCell.y, GamePrefs::GetMusicVolume(), "Music volume level",
           &MainScreen::OnMusicVolume);
    UISlider* effects = slider(base + 0.5f * m.wideRowCell.y, GamePrefs::GetSoundVolume(),
                               "Effects volume level", &MainScreen::OnEffectsVolume);
    effects->TouchedUp.Subscribe(
        Vexel::Action<Element*, Vector2 const&, int>(&screen, &MainScreen::OnEffectsSliderReleased));
    AddTextHolder(screen, build, lines, Vector2(0.0f, 0.0f), fontSize, false);
}

void BuildVibrationPage(MainScreen& screen, PageBuild& build)
{
    AddCheckButton(screen, build, Vector2(0.0f, 0.0f), Vector2(1.32f, 0.92f), Vector2(1.32f, 0.92f),
                   "Vibration: On", "Vibration: Off", GamePrefs::GetVibration(),
                   &MainScreen::OnVibrationToggled);
}

void BuildControlOptionsPage(MainScreen& screen, PageBuild& build)
{
    MenuMetrics const& m = screen.GetMetrics();
    const float cs = m.contentScale;
    const float lineWidth = m.wideRowCell.x * 1.4f;
    const float step = m.wideRowCell.y;
    Vexel::Graphics::Type::IFont* font = GetFont(34.0f * cs);
    std::vector<LinotypeLine> lines;
    lines.push_back(LinotypeLine("a", Vector2(0.0f, -10000.0f), 1000.0f, Invisible));
    lines.push_back(LinotypeLine("a", Vector2(0.0f, 10000.0f), 1000.0f, Invisible));
    lines.push_back(LinotypeLine("a", Vector2(-120.0f * cs, 0.0f), 1000.0f, Invisible));
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
        lines.push_back(LinotypeLine(text, Vector2(CentredX(font, text, 0.0f), y), lineWidth, Blue));
    };
    const Vector2 cell(1.4f, 1.0f), drawn(1.4f, 0.9f);

    AddCheckButton(screen, build, Vector2(0.0f, -2.1f * step), cell, drawn, "Tilt Controls: On",
                   "Tilt Controls: Off", GamePrefs::GetTiltControls(), &MainScreen::OnTiltToggled);
    label(kTiltLine, -2.1f * step);

    UITextButton* calibrate = new UITextButton(
        ElementLayout(ElementPosition(Vector2(0.0f, -step), 0), m.wideRowCell * cell, 1.0f, true),
        MenuTile(155), m.wideRowSize * drawn, m.wideRowSize.y * 0.9f * 0.5f, 1, screen.GetFirstBatch(),
        screen.GetSecondBatch(), "Calibrate...", Red);
    calibrate->Clicked.Subscribe(PressHandler(&screen, &MainScreen::OnShowCalibration));
    AttachMenuBeep(calibrate, 0);
    build.elements.push_back(calibrate);

    UICheckButton* locks =
        AddCheckButton(screen, build, Vector2(0.0f, step), cell, drawn, "Target Locks: On",
                       "Target Locks: Off", GamePrefs::GetTargetLocks(), &MainScreen::OnLocksToggled);
    label(kLocksLine, step);
    UICheckButton* sweep =
        AddCheckButton(screen, build, Vector2(0.0f, 3.0f * step), cell, drawn, "Target Sweep: On",
                       "Target Sweep: Off", GamePrefs::GetTargetSweep(), &MainScreen::OnSweepToggled);
    label(kSweepLine, 3.0f * step);
    AddTextHolder(screen, build, lines, Vector2(0.0f, 0.0f), 34.0f * cs, false);

    // Sweeping needs locks: switching them off greys the option out.
    sweep->SetEnabled(GamePrefs::GetTargetLocks());
    locks->CheckedChanged.Subscribe(Vexel::Action<bool>(static_cast<Element*>(sweep), &Element::SetEnabled));
}
