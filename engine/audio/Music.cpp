// Music module start-up.
#include "engine/audio/Music.h"

#include "engine/core/Delegate.h"
#include "engine/core/FrameEvents.h"

namespace Vexel
{
namespace Audio
{

namespace
{
class MusicModule
{
public:
    bool started = false;
    bool enabled = false;
    bool override = false;
    float volume = 1.0f;

    // Advances queued music work once per animate phase.
    void OnFrame(float) {}
};

MusicModule& GetModule()
{
    static MusicModule module;
    return module;
}
} // namespace

void Music::Initialize(bool enabled)
{
    MusicModule& module = GetModule();
    if (module.started)
        return;
    module.started = true;
    module.enabled = enabled;
    FrameEvents::Animating.Subscribe(Action<float>(&module, &MusicModule::OnFrame));
}

bool Music::IsInitialized()
{
    return GetModule().started;
}
bool Music::IsEnabled()
{
    return GetModule().enabled;
}

void Music::SetEnabled(bool enabled, bool override)
{
    GetModule().enabled = enabled;
    GetModule().override = override;
}
void Music::SetVolume(float volume)
{
    GetModule().volume = volume;
}
float Music::GetVolume()
{
    return GetModule().volume;
}

} // namespace Audio
} // namespace Vexel
