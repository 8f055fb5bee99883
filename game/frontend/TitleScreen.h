// The game's first screen until the main menu exists: the UI clear colour
// with the title "Cobalt Keep" in the middle, in the game's font.
#pragma once

#include "engine/ui/Screen.h"

namespace Vexel
{
namespace Graphics
{
namespace Type
{
class IFont;
class LinotypeBatch;
} // namespace Type
} // namespace Graphics
} // namespace Vexel

class TitleScreen : public Vexel::UI::Screen
{
public:
    static const char* const kTitle;
    static const char* const kFontFile;
    static const float kTitleSize; // pixels

    // Creates and loads the font (needs the GL context).
    TitleScreen();
    ~TitleScreen() override;

    void Draw(Vexel::Rectangle rect, float alpha) override;

    // Where the title's baseline starts for a screen rectangle.
    Vector2 GetTitleOrigin(Vexel::Rectangle const& rect) const;

private:
    Vexel::Graphics::Type::IFont* font;
    Vexel::Graphics::Type::LinotypeBatch* text;
};
