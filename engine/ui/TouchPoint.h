// A touch as the UI manager receives it from the application shell.
#pragma once

#include "engine/core/Vector2.h"

namespace Vexel
{
namespace UI
{

struct TouchPoint
{
    Vector2 position;         // UI coordinates
    Vector2 previousPosition; // UI coordinates
    int tapCount;             // left to the caller by the default constructor

    TouchPoint() {}
    TouchPoint(Vector2 const& position, Vector2 const& previousPosition, int tapCount)
        : position(position), previousPosition(previousPosition), tapCount(tapCount)
    {
    }
};

} // namespace UI
} // namespace Vexel
