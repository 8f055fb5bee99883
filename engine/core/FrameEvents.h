// The four per-frame events, fired by the UI manager on the main thread in
// this order each frame: Animating (after the previous frame was drawn),
// Updating, BeforeDraw, AfterDraw. They live in the core so that graphics,
// audio and the game's per-frame services can hang on the frame without
// knowing the UI; the UI manager keeps its own names for them
// (UIManager::Updating and friends refer to these same objects).
// Subscribing and unsubscribing are safe from any thread.
#pragma once

#include "engine/core/Event.h"
#include "engine/core/Rectangle.h"

namespace Vexel
{

struct FrameEvents
{
    // dt in seconds.
    static ConcurrentEvent<float> Updating;
    static ConcurrentEvent<float> Animating;
    // The UI area (0, 0, width, height).
    static ConcurrentEvent<Vexel::Rectangle> BeforeDraw;
    static ConcurrentEvent<Vexel::Rectangle> AfterDraw;
};

} // namespace Vexel
