// One run of a multi-coloured text: its characters and their colour.
#pragma once

#include "engine/core/Color.h"

#include <cstdint>
#include <string>

struct UIColoredStringSegment
{
    uint32_t tag; // free for the caller; the text classes do not read it
    std::string text;
    Color colour;

    UIColoredStringSegment() : tag(0) {}
    UIColoredStringSegment(std::string const& text, Color colour) : tag(0), text(text), colour(colour) {}
    UIColoredStringSegment(uint32_t tag, std::string const& text, Color colour)
        : tag(tag), text(text), colour(colour)
    {
    }
};
