// The twenty fixed colours the widgets and the menus pick their text colours
// from. Each source file that includes this builds its own copy.
#pragma once

#include "engine/core/Color.h"

const Color UIPalette[20] = {
    Color::FromRgba(255, 255, 255, 255), // 0
    Color::FromRgba(0, 0, 0, 255),       // 1
    Color::FromRgba(170, 225, 255, 255), // 2
    Color::FromRgba(127, 212, 255, 255), // 3: slider numbers
    Color::FromRgba(100, 180, 255, 255), // 4
    Color::FromRgba(70, 90, 255, 255),   // 5
    Color::FromRgba(255, 30, 30, 255),   // 6
    Color::FromRgba(255, 180, 180, 255), // 7
    Color::FromRgba(255, 127, 127, 255), // 8: check button label while off
    Color::FromRgba(255, 100, 110, 255), // 9
    Color::FromRgba(255, 70, 90, 255),   // 10
    Color::FromRgba(170, 255, 225, 255), // 11
    Color::FromRgba(127, 255, 212, 255), // 12: check button label while on
    Color::FromRgba(100, 255, 180, 255), // 13
    Color::FromRgba(70, 255, 90, 255),   // 14
    Color::FromRgba(255, 255, 110, 255), // 15
    Color::FromRgba(230, 230, 90, 255),  // 16
    Color::FromRgba(245, 180, 140, 255), // 17
    Color::FromRgba(240, 155, 120, 255), // 18
    Color::FromRgba(180, 210, 220, 255), // 19
};
