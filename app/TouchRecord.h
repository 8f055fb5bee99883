// What the shell keeps per finger between SDL's mouse events: the touch as
// the UI manager last heard of it, and the times that decide multi-taps and
// stale touches.
#pragma once

#include "engine/ui/TouchPoint.h"

#include <cstdint>

namespace Vexel
{
namespace App
{

struct TouchRecord
{
    UI::TouchPoint point;      // positions in UI coordinates
    uint32_t lastActivity = 0; // ms of the last press or move delivered to the UI
    uint32_t releaseTime = 0;  // ms of the last release of a down record, delivered or not
    bool down = false;         // the UI has a press that is not yet released

    explicit TouchRecord(uint32_t createdAt = 0) : point(Vector2(), Vector2(), 0), lastActivity(createdAt) {}
};

} // namespace App
} // namespace Vexel
