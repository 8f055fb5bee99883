#include "game/frontend/pages/PageParts.h"

#include "engine/graphics/type/IFont.h"
#include "engine/ui/UIHelper.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/elements/ScaleElement.h"
#include "game/widgets/UICheckButton.h"

#include <algorithm>

using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

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

PageRow MakeRow(int beepVariant, Color colour, int tile, const char* label, PressHandler handler)
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

std::vector<LinotypeLine> OneLine(const char* text, float width, Color colour)
{
    return std::vector<LinotypeLine>(1, LinotypeLine(text, Vector2(0.0f, 0.0f), width, colour));
}

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

void AddTextHolder(MainScreen& screen, PageBuild& build, std::vector<LinotypeLine> const& lines, Vector2 at,
                   float fontSize, bool followTilt, float room)
{
    ScaleElement* holder =
        new ScaleElement(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), screen.GetSize(), 1.0f, true),
                         screen.GetFlusher(), false, followTilt);
    UILinotypeElement* text =
        new UILinotypeElement(lines, ElementPosition(at, 0), screen.GetFlusher(), GetFont(fontSize));
    const float smallest = fontSize * 0.55f;
    while (room > 0.0f && text->GetSize().y > room && fontSize > smallest)
    {
        delete text;
        fontSize = std::max(fontSize * 0.92f, smallest);
        text = new UILinotypeElement(lines, ElementPosition(at, 0), screen.GetFlusher(), GetFont(fontSize));
    }
    holder->AddChild(text);
    build.elements.push_back(holder);
}

UICheckButton* AddCheckButton(MainScreen& screen, PageBuild& build, Vector2 at, Vector2 cellFactor,
                              Vector2 drawFactor, const char* on, const char* off, bool state,
                              void (MainScreen::*handler)(UICheckButton*, bool))
{
    MenuMetrics const& m = screen.GetMetrics();
    UICheckButton* button =
        new UICheckButton(ElementLayout(ElementPosition(at, 0), m.wideRowCell * cellFactor, 1.0f, true),
                          FitCheckButton(m.wideRowSize * drawFactor, on, off), screen.GetFirstBatch(),
                          screen.GetSecondBatch(), on, off, state);
    button->Toggled.Subscribe(Vexel::Action<UICheckButton*, bool>(&screen, handler));
    AttachMenuBeep(button, 2);
    build.elements.push_back(button);
    return button;
}
