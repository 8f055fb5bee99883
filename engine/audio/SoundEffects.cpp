// Sound-effect module start-up.
#include "engine/audio/SoundEffects.h"

#include "engine/core/Delegate.h"
#include "engine/core/FrameEvents.h"

namespace Vexel
{
namespace Audio
{

namespace
{
class EffectsModule
{
public:
    bool started = false;
    bool enabled = false;
    bool override = false;
    float volume = 1.0f;
    int voiceCount = 0;

    // Ages the playing voices once per update phase.
    void OnFrame(float) {}
};

EffectsModule& GetModule()
{
    static EffectsModule module;
    return module;
}
} // namespace

void SoundEffects::Initialize(int voiceCount, bool enabled)
{
    EffectsModule& module = GetModule();
    if (module.started)
        return;
    module.started = true;
    module.enabled = enabled;
    module.OnFrame(0.0f);
    module.voiceCount = voiceCount;
    FrameEvents::Updating.Subscribe(Action<float>(&module, &EffectsModule::OnFrame));
}

bool SoundEffects::IsInitialized()
{
    return GetModule().started;
}
bool SoundEffects::IsEnabled()
{
    return GetModule().enabled;
}
int SoundEffects::GetVoiceCount()
{
    return GetModule().voiceCount;
}

void SoundEffects::SetEnabled(bool enabled, bool override)
{
    GetModule().enabled = enabled;
    GetModule().override = override;
}
void SoundEffects::SetVolume(float volume)
{
    GetModule().volume = volume;
}
float SoundEffects::GetVolume()
{
    return GetModule().volume;
}

} // namespace Audio
} // namespace Vexel
