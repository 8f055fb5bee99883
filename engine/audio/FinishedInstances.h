// The process-wide list of effect instances whose data has ended on the
// mixer thread, waiting for the main thread to stop them. An intrusive list
// under its own mutex: adding from the mixer thread never allocates.
#pragma once

namespace Vexel
{
namespace Audio
{

class SoundEffectInstance;

namespace FinishedInstances
{

// Mixer thread (or any): adds the instance once.
void Add(SoundEffectInstance* instance);
// Takes the instance out when it is listed.
void Remove(SoundEffectInstance* instance);
// The first listed instance, taken out of the list; null when empty.
SoundEffectInstance* TakeFirst();
int GetCount();

} // namespace FinishedInstances
} // namespace Audio
} // namespace Vexel
