// The glowing ring around the planet while the planet cannon charges and
// fires, with its looping charge sound. The Simulation creates one when the
// cannon is armed, updates it every tick, starts its discharge when the
// cannon fires (or is let go) and deletes it once it has finished. Drawing
// lives in SimBeamChargeLineDraw.cpp.
#pragma once

class SimBeamChargeLine
{
public:
    SimBeamChargeLine();
    // Stops the charge sound if it still plays.
    virtual ~SimBeamChargeLine();
    SimBeamChargeLine(SimBeamChargeLine const&) = delete;
    SimBeamChargeLine& operator=(SimBeamChargeLine const&) = delete;

    // Starts the fade-out; only the first call counts. With sound, the beam
    // fires (sound 6).
    void Discharge(bool withSound);
    // Faded out and silent.
    bool IsFinished() const { return level <= 0.0f && soundHandle == -1; }
    // One tick: level, charge, pulse and phase move on; the charge loop
    // (sound 5) follows the smoothed volume and pitch.
    void Update(float dt);
    // The ring around the planet centre (world units), drawn at once with
    // additive blending; nothing below a visible level
    // (SimBeamChargeLineDraw.cpp).
    void Draw(float alpha) const;

    float GetLevel() const { return level; }
    bool IsDischarging() const { return discharging; }
    bool HasSound() const { return withSound; }
    float GetCharge() const { return charge; }
    float GetPulse() const { return pulse; }
    float GetPhase() const { return phase; }
    int GetSoundHandle() const { return soundHandle; }
    float GetVolume() const { return volume; }
    float GetPitch() const { return pitch; }

private:
    float level; // 1, falls while discharging
    bool discharging;
    bool withSound;
    float charge; // rises to 1
    float pulse;  // rises to 1
    float phase;  // 0..1, wraps
    int soundHandle;
    float volume;
    float pitch;
};
