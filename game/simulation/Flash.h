// The screen flash: short flashes (a cannon shot, the end of a wave) and
// steady tints (the cannon's glow) summed every frame into the colour the
// frame is cleared to, so they light the background behind everything
// drawn. One process-wide flasher, main thread only.
//
// The flasher hangs on Vexel::FrameEvents::Updating from the first flash or
// tint on. It hands each frame's colour to the clear-colour output, which
// the play screen points at the UI manager (this library sits below the UI).
#pragma once

#include "engine/core/Color.h"

// A steady source owned by its user; the flasher keeps only its address.
struct FlashTint
{
    Color colour;
    float factor; // scales colour's alpha

    FlashTint() : colour(0, 0, 0, 0), factor(0.0f) {}
    FlashTint(Color colour, float factor) : colour(colour), factor(factor) {}
};

// Starts a flash that fades over duration seconds as a quarter cosine. A
// transparent or black colour, or a duration of 0.0001 s or less, is
// ignored. A second flash in the same frame replaces the first.
void Flash(Color colour, float duration = 0.1f);
void AddTint(FlashTint* tint);
void RemoveTint(FlashTint* tint);

// The per-frame step (what Updating runs): hands the colour to the output,
// then advances the clock and drops expired flashes.
void UpdateFlash(float dt);
// The colour the flashes and tints give now (opaque black when none).
Color GetFlashColour();
int GetActiveFlashCount();

// Where each frame's colour goes; null for nowhere. Returns the previous.
typedef void (*FlashOutput)(Color colour);
FlashOutput SetFlashOutput(FlashOutput output);

// Drops every flash and tint and restarts the clock (a fresh start for
// tests and for a new process state).
void ResetFlashes();
