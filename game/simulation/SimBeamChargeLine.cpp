#include "game/simulation/SimBeamChargeLine.h"

#include "engine/core/VectorMath.h"
#include "game/audio/GameSounds.h"

#include <cmath>

namespace
{

const int kChargeSound = 5;
const int kBeamSound = 6;
using Vexel::kTwoPi;

} // namespace

SimBeamChargeLine::SimBeamChargeLine()
    : level(1.0f), discharging(false), withSound(false), charge(0.0f), pulse(0.0f), phase(0.0f),
      soundHandle(-1), volume(0.0f), pitch(0.05f)
{
}

SimBeamChargeLine::~SimBeamChargeLine()
{
    if (soundHandle != -1)
        GameSounds::Stop(soundHandle);
}

void SimBeamChargeLine::Discharge(bool sound)
{
    if (discharging)
        return;
    discharging = true;
    withSound = sound;
    if (withSound)
        GameSounds::Play(kBeamSound, 1.0f, 1.0f);
}

void SimBeamChargeLine::Update(float dt)
{
    if (discharging)
        level -= 1.76f * dt;
    charge = charge + 2.2f * dt;
    if (charge > 1.0f)
        charge = 1.0f;
    pulse += 0.75f * dt;
    if (!(pulse < 1.0f))
        pulse = 1.0f;
    phase += 0.87f * dt;
    phase -= std::trunc(phase);

    const float e = charge * level;
    const float w = sinf(phase * kTwoPi);
    volume += ((e * 0.25f + w * 0.06f) - volume) * 0.16f;
    const float p = e > 0.01f ? pulse * 0.09f : 0.0f;
    pitch += ((e * 0.12f + 0.22f + p * w * 0.06f) - pitch) * 0.16f;

    if (volume <= 0.005f)
    {
        if (soundHandle != -1)
        {
            GameSounds::Stop(soundHandle);
            soundHandle = -1;
        }
    }
    else if (soundHandle == -1)
        soundHandle = GameSounds::Play(kChargeSound, volume, pitch);

    if (soundHandle != -1)
        GameSounds::SetVolumeAndPitch(soundHandle, volume, pitch);
}
