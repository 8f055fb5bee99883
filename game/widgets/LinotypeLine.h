// One line of a static text block: its words, colour, where its first row
// goes inside the block and how wide a row may grow before a word moves down.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Vector2.h"

#include <string>

struct LinotypeLine
{
    std::string text; // words separated by single spaces
    Color colour;     // at full opacity
    Vector2 position; // the baseline point of the first row
    float wrapWidth;  // pixels

    LinotypeLine(std::string const& text, Vector2 position, float wrapWidth, Color colour)
        : text(text), colour(colour), position(position), wrapWidth(wrapWidth)
    {
    }
};
