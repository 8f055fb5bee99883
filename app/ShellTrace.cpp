#include "app/ShellTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace Vexel
{
namespace App
{

bool IsTraceEnabled()
{
    static const bool enabled = []
    {
        const char* value = std::getenv("COBALT_KEEP_TRACE");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

void Trace(const char* format, ...)
{
    if (!IsTraceEnabled())
        return;
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    // One write per line, so lines of several threads never interleave.
    std::fprintf(stderr, "trace: %s @%lld.%06ld\n", text, static_cast<long long>(now.tv_sec),
                 now.tv_nsec / 1000);
}

} // namespace App
} // namespace Vexel
