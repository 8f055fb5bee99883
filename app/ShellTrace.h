// Lines about the shell's progress on stderr, for the end-to-end tests and
// the start-up figures: on only when COBALT_KEEP_TRACE=1, and then each line
// reads "trace: <what> @<seconds since the epoch>".
#pragma once

namespace Vexel
{
namespace App
{

bool IsTraceEnabled();
// printf-style; nothing when tracing is off.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace App
} // namespace Vexel
