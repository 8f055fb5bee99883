// What several page builders make the same way: the colours of the menu
// texts, rows, text holders and check buttons. Main thread only.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Delegate.h"
#include "engine/core/Vector2.h"
#include "game/frontend/MainScreen.h"
#include "game/widgets/UILinotypeElement.h"

#include <string>
#include <vector>

class UICheckButton;

namespace Vexel
{
namespace Graphics
{
namespace Type
{
class IFont;
}
} // namespace Graphics
} // namespace Vexel

typedef Vexel::Action<Vexel::UI::Element*, Vector2 const&> PressHandler;

namespace PageColours
{
const Color White(255, 255, 255, 255);
const Color Red(255, 127, 127, 255);
const Color Blue(127, 212, 255, 255);
const Color Green(127, 255, 212, 255);
const Color Alarm(255, 70, 90, 255);
const Color Invisible(0, 0, 0, 0);
} // namespace PageColours

// A text row of the page's column; tile 0 none.
PageRow MakeRow(int beepVariant, Color colour, int tile, const char* label, PressHandler handler);
// A row that keeps its place but shows nothing.
PageRow EmptyRow();

// One line of text for a text element.
std::vector<LinotypeLine> OneLine(const char* text, float width, Color colour);

// The x of a line whose widest row should stand centred on x = centre.
float CentredX(Vexel::Graphics::Type::IFont* font, std::string const& text, float centre);

// Appends a screen-sized holder that zooms its one text element with the
// page. With a room (a height), a face too wide for the design steps the font
// down until the wrapped text is no taller than that.
void AddTextHolder(MainScreen& screen, PageBuild& build, std::vector<LinotypeLine> const& lines, Vector2 at,
                   float fontSize, bool followTilt, float room = 0.0f);

// Appends a check button whose labels each stand on one line, with its
// toggle handler and menu beep.
UICheckButton* AddCheckButton(MainScreen& screen, PageBuild& build, Vector2 at, Vector2 cellFactor,
                              Vector2 drawFactor, const char* on, const char* off, bool state,
                              void (MainScreen::*handler)(UICheckButton*, bool));
