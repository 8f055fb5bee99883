// The widget gallery's one screen: every widget of the game in its states on
// a 320 x 480 portrait screen, drawn through two sprite batches as the menus
// draw them. The top check button and the middle slider take touches; the
// "held" buttons are held by fingers the gallery puts down itself. What the
// interactive widgets report goes to the shell's trace.
#pragma once

#include "engine/core/Rectangle.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/ui/Screen.h"
#include "game/widgets/IFlush.h"

class UICheckButton;
class UISlider;

class GalleryScreen : public Vexel::UI::Screen, public IFlush
{
public:
    // The areas the end-to-end test touches and looks at (UI pixels).
    static const Vexel::Rectangle kCheckArea;  // the interactive check button
    static const Vexel::Rectangle kSliderArea; // the interactive slider (0..100, starts at 50)
    static const float kSliderDesignWidth;
    static const float kSliderDesignHeight;

    GalleryScreen();
    ~GalleryScreen() override;

    // Puts the fingers on the held buttons; call once the screen is attached.
    void HoldButtons();

    void DrawEnd(Vexel::Rectangle rect, float alpha) override;
    void FlushFirstBatch() override;
    void FlushSecondBatch() override;

private:
    void OnToggled(UICheckButton* button, bool checked);
    void OnSlider(UISlider* slider, int value);

    Vexel::Graphics::Sprites::TransientBatch batch;
    Vexel::Graphics::Sprites::TransientBatch glowBatch;
    std::vector<Vexel::Rectangle> held; // areas of the buttons held down
};
