#include "engine/core/AppEvents.h"

namespace Vexel
{

ConcurrentEvent<>& AppEvents::Startup()
{
    static ConcurrentEvent<> event;
    return event;
}

ConcurrentEvent<>& AppEvents::Resume()
{
    static ConcurrentEvent<> event;
    return event;
}

ConcurrentEvent<>& AppEvents::Pause()
{
    static ConcurrentEvent<> event;
    return event;
}

ConcurrentEvent<>& AppEvents::Shutdown()
{
    static ConcurrentEvent<> event;
    return event;
}

} // namespace Vexel
