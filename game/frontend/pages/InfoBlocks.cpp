// The content blocks of the endless pages (a short text on "Classic Mode",
// the starting-wave slider on "Quickstart Mode") and of the help pages (a
// picture with a text below it).
#include "game/frontend/MainScreen.h"

#include "engine/ui/UIHelper.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/elements/ScaleElement.h"
#include "game/scores/GamePrefs.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UISlider.h"
#include "game/widgets/UITextureButton.h"

#include <algorithm>

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const Color kTextColour(127, 212, 255, 255);
const Color kWhite(255, 255, 255, 255);
const int kBackdropTile = 68;

const char* const kClassicText = "Survive as long as you can!\n\nTry not to think about why the planet only "
                                 "built one orbital defense cannon. It's kind of a plot hole...";
const char* const kQuickstartHeading = "Select a starting wave:";

const int kFirstWave = 1;
const int kLastWave = 99;

// Below this (design pixels) a help text would no longer read well.
const float kSmallestInfoFont = 26.0f;

} // namespace

Element* MainScreen::MakeEndlessBlock(bool quickstart)
{
    const float cs = metrics.contentScale;
    const Vector2 blockSize = Vector2(600.0f, 250.0f) * cs;
    ScaleElement* block = new ScaleElement(
        ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), blockSize, 1.0f, true), this, false, false);
    block->AddChild(new UITextureButton(
        ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), Vexel::UI::Alignment::TopLeft), blockSize, 1.0f,
                      true),
        MenuTile(kBackdropTile), blockSize, 1, &firstBatch, &secondBatch, false, Color(0, 0, 0, 79), false));

    if (!quickstart)
    {
        std::vector<LinotypeLine> lines;
        lines.push_back(LinotypeLine(kClassicText, Vector2(0.0f, 0.0f), 500.0f * cs, kTextColour));
        block->AddChild(
            new UILinotypeElement(lines, ElementPosition(Vector2(0.0f, 0.0f), 0), this, GetFont(35.0f * cs)));
        return block;
    }

    std::vector<LinotypeLine> lines;
    lines.push_back(LinotypeLine(kQuickstartHeading, Vector2(0.0f, 0.0f), 100000.0f, kTextColour));
    block->AddChild(new UILinotypeElement(lines, ElementPosition(Vector2(0.0f, -50.0f * cs), 0), this,
                                          GetFont(52.0f * cs)));

    const Vector2 track = Vector2(520.0f, 120.0f) * cs;
    UISlider* slider = new UISlider(ElementLayout(ElementPosition(Vector2(0.0f, 50.0f * cs), 0),
                                                  track + Vector2(40.0f, 40.0f) * cs, 1.0f, true),
                                    track, &firstBatch, &secondBatch, kFirstWave, kLastWave,
                                    GamePrefs::GetStartingWave(), true);
    slider->Changed.Subscribe(Vexel::Action<UISlider*, int>(this, &MainScreen::OnStartingWave));
    block->AddChild(slider);
    return block;
}

Element* MainScreen::MakeInfoBlock(TileInfo const* picture, Vector2 pictureSize, std::string const& text)
{
    const float cs = metrics.contentScale;
    const Vector2 blockSize = Vector2(520.0f, 640.0f) * cs;
    ScaleElement* block = new ScaleElement(
        ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), blockSize, 1.0f, true), this, false, false);
    if (picture)
    {
        // Its top edge on the block's.
        block->AddChild(new UITextureButton(
            ElementLayout(ElementPosition(Vector2(0.0f, (pictureSize.y - blockSize.y) / 2.0f), 0),
                          pictureSize, 1.0f, true),
            picture, pictureSize, 2, &firstBatch, &secondBatch, false, kWhite, false));
    }
    std::vector<LinotypeLine> lines;
    lines.push_back(LinotypeLine(text, Vector2(0.0f, 0.0f), blockSize.x, kTextColour));
    const Vector2 at = picture ? Vector2(0.0f, pictureSize.y / 2.0f + 28.0f * cs) : Vector2(0.0f, 0.0f);

    // The text must stay between the picture (or the title bar) and the
    // bottom buttons: a long text in a wide face steps its font down until
    // it fits. The block stands at the screen's centre.
    const float h = GetSize().y;
    const float top = picture ? -blockSize.y / 2.0f + pictureSize.y + 12.0f * cs
                              : -h / 2.0f + metrics.titleBarHeight + 8.0f * cs;
    const float bottom = h / 2.0f - metrics.buttonCell.y - 8.0f * cs;
    const float room = 2.0f * std::min(at.y - top, bottom - at.y);
    float fontSize = 40.0f * cs;
    UILinotypeElement* body = new UILinotypeElement(lines, ElementPosition(at, 0), this, GetFont(fontSize));
    while (body->GetSize().y > room && fontSize > kSmallestInfoFont * cs)
    {
        delete body;
        fontSize = std::max(fontSize * 0.92f, kSmallestInfoFont * cs);
        body = new UILinotypeElement(lines, ElementPosition(at, 0), this, GetFont(fontSize));
    }
    block->AddChild(body);
    return block;
}
