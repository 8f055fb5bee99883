// The four application lifecycle events. Each is created on first use and
// lives until exit; all are fired on the main thread.
#pragma once

#include "engine/core/Event.h"

namespace Vexel
{

struct AppEvents
{
    static ConcurrentEvent<>& Startup();  // once, after the splash frame
    static ConcurrentEvent<>& Resume();   // inactive -> active
    static ConcurrentEvent<>& Pause();    // active -> inactive
    static ConcurrentEvent<>& Shutdown(); // once, at exit
};

} // namespace Vexel
