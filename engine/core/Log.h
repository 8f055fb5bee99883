// The one log of the program: every message is one line on stderr that
// starts with the subsystem's tag ("texture: ...", "scores: ..."). Verbose
// lines are off unless COBALT_KEEP_TRACE=1; they read
// "trace: <tag>: <message> @<seconds since the epoch>" so that end-to-end
// tests and start-up figures can time them. Any thread; a line is written
// with one call, so lines of several threads never interleave.
//
// Bad input is reported here, once, naming the file or request and what was
// wrong with it.
#pragma once

namespace Vexel
{
namespace Log
{

struct Level
{
    enum Enum
    {
        Verbose = 0,
        Info = 1,
        Warning = 2,
        Error = 3,
    };
};

// Receives every line that passes the level filter, instead of stderr. Tests
// install one to watch what was reported.
class ISink
{
public:
    virtual ~ISink() {}
    virtual void Write(Level::Enum level, const char* tag, const char* message) = 0;
};

// Installs a sink (null restores stderr) and returns the previous one.
ISink* SetSink(ISink* sink);

// True when COBALT_KEEP_TRACE=1 was set at start-up, or after SetVerbose(true).
bool IsVerbose();
void SetVerbose(bool enabled);

// printf-style; the message carries no trailing newline. Messages longer
// than 1 KB are cut.
void Write(Level::Enum level, const char* tag, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void Verbose(const char* tag, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Info(const char* tag, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Warning(const char* tag, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Error(const char* tag, const char* format, ...) __attribute__((format(printf, 2, 3)));

} // namespace Log
} // namespace Vexel
