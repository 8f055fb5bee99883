#include "tests/widgets/gallery/GalleryScreen.h"

#include "engine/core/Log.h"
#include "engine/core/Delegate.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/ui/UIManager.h"
#include "game/widgets/TitleBarText.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UIColoredStringSegment.h"
#include "game/widgets/UIPalette.h"
#include "game/widgets/UISlider.h"
#include "game/widgets/UITextButton.h"
#include "game/widgets/UITextComponent.h"
#include "game/widgets/UITextureButton.h"

#include <vector>

using Vexel::Rectangle;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;
namespace Tiles = Vexel::Graphics::Tiles;

const Rectangle GalleryScreen::kCheckArea(10, 50, 300, 40);
const Rectangle GalleryScreen::kSliderArea(10, 186, 300, 36);
const float GalleryScreen::kSliderDesignWidth = 300.0f;
const float GalleryScreen::kSliderDesignHeight = 36.0f;

namespace
{

const int kBatchQuads = 512; // as the menus' batches
const int kFirstHoldingFinger = 10;
const Color kWhite(255, 255, 255, 255);
const Color kTitleColour(127, 212, 255, 255);

ElementLayout At(Rectangle const& r)
{
    return ElementLayout(ElementPosition(r.Position()), r.Size());
}

// Light blue words with the faction names in their colours.
std::vector<UIColoredStringSegment> Paragraph()
{
    const Color text = UIPalette[2];
    return {
        UIColoredStringSegment("Defend the planet at the centre of the screen against the ", text),
        UIColoredStringSegment("Red", UIPalette[6]),
        UIColoredStringSegment(" and ", text),
        UIColoredStringSegment("Green", UIPalette[14]),
        UIColoredStringSegment(" fleets. Double tap to place a target lock; save the ", text),
        UIColoredStringSegment("planet cannon", UIPalette[15]),
        UIColoredStringSegment(" for when they close in.", text),
    };
}

} // namespace

GalleryScreen::GalleryScreen()
    : Screen(Vexel::UI::TouchMode::Ignore), batch(kBatchQuads), glowBatch(kBatchQuads)
{
    // The title bar: its plate, then the glowing title over it.
    const Rectangle titleArea(0, 0, 320, 45);
    AddChild(new UITextureButton(At(titleArea), Tiles::Tile183, titleArea.Size(), 1, &batch, &glowBatch,
                                 false, kWhite, false));
    AddChild(new TitleBarText(At(Rectangle(0, 8, 320, 30)), "Widget Gallery", kTitleColour, this));

    // Check buttons: on (takes touches), off, and on but disabled.
    const Vector2 checkSize = kCheckArea.Size();
    UICheckButton* check = new UICheckButton(At(kCheckArea), checkSize, &batch, &glowBatch, "Sound Enabled",
                                             "Sound Disabled", true);
    check->Toggled.Subscribe(Vexel::Action<UICheckButton*, bool>(this, &GalleryScreen::OnToggled));
    AddChild(check);
    AddChild(new UICheckButton(At(Rectangle(10, 94, 300, 40)), checkSize, &batch, &glowBatch, "Vibration: On",
                               "Vibration: Off", false));
    UICheckButton* disabled = new UICheckButton(At(Rectangle(10, 138, 300, 40)), checkSize, &batch,
                                                &glowBatch, "Locks: On", "Locks: Off", true);
    disabled->SetEnabled(false);
    AddChild(disabled);

    // Sliders: the middle one takes touches; one at each end of its range.
    const Vector2 sliderSize(kSliderDesignWidth, kSliderDesignHeight);
    UISlider* slider = new UISlider(At(kSliderArea), sliderSize, &batch, &glowBatch, 0, 100, 50, true);
    slider->Changed.Subscribe(Vexel::Action<UISlider*, int>(this, &GalleryScreen::OnSlider));
    AddChild(slider);
    AddChild(new UISlider(At(Rectangle(10, 226, 300, 36)), sliderSize, &batch, &glowBatch, 0, 100, 0, true));
    AddChild(
        new UISlider(At(Rectangle(10, 266, 300, 36)), sliderSize, &batch, &glowBatch, 0, 100, 100, true));

    // Texture buttons: normal, held, disabled (drawn alike, takes no touch).
    const Vector2 menuButton(100, 33);
    AddChild(new UITextureButton(At(Rectangle(5, 310, 100, 33)), Tiles::Tile161, menuButton, 1, &batch,
                                 &glowBatch, true, kWhite, false));
    AddChild(new UITextureButton(At(Rectangle(110, 310, 100, 33)), Tiles::Tile157, menuButton, 1, &batch,
                                 &glowBatch, true, kWhite, false));
    held.push_back(Rectangle(110, 310, 100, 33));
    AddChild(new UITextureButton(At(Rectangle(215, 310, 100, 33)), Tiles::Tile160, menuButton, 1, &batch,
                                 &glowBatch, false, kWhite, false));

    // Text buttons on the pill panels: normal, held, and without a panel
    // (disabled: the label alone).
    const Vector2 pill(100, 36);
    AddChild(new UITextButton(At(Rectangle(5, 350, 100, 36)), Tiles::Tile153, pill, 18, 1, &batch, &glowBatch,
                              "Help", UIPalette[3]));
    AddChild(new UITextButton(At(Rectangle(110, 350, 100, 36)), Tiles::Tile154, pill, 18, 1, &batch,
                              &glowBatch, "Go!", UIPalette[12]));
    held.push_back(Rectangle(110, 350, 100, 36));
    AddChild(new UITextButton(At(Rectangle(215, 350, 100, 36)), nullptr, pill, 18, 1, &batch, &glowBatch,
                              "Off", UIPalette[8]));

    // A paragraph of wrapped, coloured text.
    AddChild(new UITextComponent(At(Rectangle(12, 396, 296, 80)), 15.0f, Paragraph(), UIPalette[2]));
}

GalleryScreen::~GalleryScreen() {}

void GalleryScreen::HoldButtons()
{
    int finger = kFirstHoldingFinger;
    for (Rectangle const& area : held)
        Vexel::UI::UIManager::InjectTouchDown(finger++, area.Center(), 1);
}

void GalleryScreen::DrawEnd(Rectangle, float)
{
    // What the widgets queued after their last flush, the highlights last.
    batch.Draw();
    glowBatch.Draw();
}

void GalleryScreen::FlushFirstBatch()
{
    batch.Draw();
}

void GalleryScreen::FlushSecondBatch()
{
    glowBatch.Draw();
}

void GalleryScreen::OnToggled(UICheckButton*, bool checked)
{
    Vexel::Log::Verbose("gallery", "gallery check %d", checked ? 1 : 0);
}

void GalleryScreen::OnSlider(UISlider*, int value)
{
    Vexel::Log::Verbose("gallery", "gallery slider %d", value);
}
