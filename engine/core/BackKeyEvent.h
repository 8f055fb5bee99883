// The application's back-key event: Escape, the platform's back gesture,
// raised by the main loop. It lives in the core, beside the lifecycle
// events, so that the front end can hang its pages' back handling on it
// without reaching into the application shell (app/App.h makes the same
// object known there). Empty until someone subscribes; main thread only.
#pragma once

#include "engine/core/Event.h"

namespace Vexel
{
namespace App
{

extern Event<> BackKeyPressed;

} // namespace App
} // namespace Vexel
