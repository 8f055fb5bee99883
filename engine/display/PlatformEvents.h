// The platform's side of SDL's event queue and video driver: what the shell
// polls is what the phone would have reported.
#pragma once

union SDL_Event;

namespace Vexel
{
namespace Platform
{

// Chooses X11 as SDL's video driver unless SDL_VIDEODRIVER names one: with
// no X display SDL 1.2 would otherwise fall back to drawing into the
// terminal. Call before SDL_Init.
void PrepareVideoDriver();

// True when SDL_VIDEODRIVER was empty and DISPLAY is unset or empty: the
// likely reason why the video could not start.
bool IsDisplayMissing();

// SDL_PollEvent with TranslateEvent applied to what it returns.
int PollEvent(SDL_Event* event);

// On X11 an iconify or restore arrives as an activation event whose state
// combines SDL_APPACTIVE with focus bits; it becomes the phone's plain
// deactivate or activate (state exactly SDL_APPACTIVE, gain unchanged).
// Focus-only changes and every other event pass unchanged.
void TranslateEvent(SDL_Event* event);

} // namespace Platform
} // namespace Vexel
