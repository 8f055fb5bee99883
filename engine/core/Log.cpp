#include "engine/core/Log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

namespace Vexel
{
namespace Log
{
namespace
{

bool TraceRequested()
{
    const char* value = std::getenv("COBALT_KEEP_TRACE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

struct LogState
{
    std::atomic<bool> verbose{TraceRequested()};
    // Guards the sink pointer for as long as a line is being handed to it,
    // so SetSink never returns while the old sink is still in use.
    std::mutex sinkLock;
    ISink* sink = nullptr;
};

LogState& State()
{
    static LogState* state = new LogState(); // outlives static destructors that still log
    return *state;
}

void WriteV(Level::Enum level, const char* tag, const char* format, va_list arguments)
{
    LogState& state = State();
    if (level == Level::Verbose && !state.verbose.load(std::memory_order_relaxed))
        return;

    char message[1024];
    std::vsnprintf(message, sizeof(message), format, arguments);
    size_t length = std::strlen(message);
    while (length > 0 && message[length - 1] == '\n')
        message[--length] = '\0';
    if (tag == nullptr || tag[0] == '\0')
        tag = "game";

    std::lock_guard<std::mutex> lock(state.sinkLock);
    if (state.sink != nullptr)
    {
        state.sink->Write(level, tag, message);
        return;
    }
    if (level == Level::Verbose)
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::fprintf(stderr, "trace: %s: %s @%lld.%06ld\n", tag, message,
                     static_cast<long long>(now.tv_sec), now.tv_nsec / 1000);
    }
    else
    {
        std::fprintf(stderr, "%s: %s\n", tag, message);
    }
}

} // namespace

ISink* SetSink(ISink* sink)
{
    LogState& state = State();
    std::lock_guard<std::mutex> lock(state.sinkLock);
    ISink* previous = state.sink;
    state.sink = sink;
    return previous;
}

bool IsVerbose()
{
    return State().verbose.load(std::memory_order_relaxed);
}

void SetVerbose(bool enabled)
{
    State().verbose.store(enabled, std::memory_order_relaxed);
}

void Write(Level::Enum level, const char* tag, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    WriteV(level, tag, format, arguments);
    va_end(arguments);
}

#define VEXEL_LOG_LEVEL_FUNCTION(name)                                                             \
    void name(const char* tag, const char* format, ...)                                            \
    {                                                                                              \
        va_list arguments;                                                                         \
        va_start(arguments, format);                                                               \
        WriteV(Level::name, tag, format, arguments);                                               \
        va_end(arguments);                                                                         \
    }

VEXEL_LOG_LEVEL_FUNCTION(Verbose)
VEXEL_LOG_LEVEL_FUNCTION(Info)
VEXEL_LOG_LEVEL_FUNCTION(Warning)
VEXEL_LOG_LEVEL_FUNCTION(Error)

#undef VEXEL_LOG_LEVEL_FUNCTION

} // namespace Log
} // namespace Vexel
