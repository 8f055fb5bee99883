// Volume and pitch factors. A ParamFactor is one multiplier owned by whoever
// scales a sound (the game's music fader owns the fade level); a
// ParamFactorSet multiplies the factors added to it. A factor that is
// destroyed leaves every set it was in, and a set that is destroyed first
// stops listening to its factors, so either may die first. Main thread only.
#pragma once

#include "engine/core/Event.h"

#include <set>

namespace Vexel
{
namespace Audio
{

class ParamFactor
{
public:
    explicit ParamFactor(float value = 1.0f) : value(value) {}
    // Raises Destroyed, so that the sets holding this factor drop it.
    ~ParamFactor();
    ParamFactor(const ParamFactor&) = delete;
    ParamFactor& operator=(const ParamFactor&) = delete;

    float GetValue() const { return value; }
    void SetValue(float newValue) { value = newValue; }

    Event<ParamFactor*> Destroyed;

private:
    float value;
};

class ParamFactorSet
{
public:
    ParamFactorSet() = default;
    ~ParamFactorSet();
    ParamFactorSet(const ParamFactorSet&) = delete;
    ParamFactorSet& operator=(const ParamFactorSet&) = delete;

    // Adding a factor twice keeps one entry.
    void Add(ParamFactor* factor);
    void Remove(ParamFactor* factor);
    bool Contains(ParamFactor* factor) const { return factors.count(factor) != 0; }
    int GetCount() const { return int(factors.size()); }

    // 1.0 times every factor's value; 1.0 for an empty set.
    float GetProduct() const;

private:
    void OnFactorDestroyed(ParamFactor* factor);

    std::set<ParamFactor*> factors;
};

} // namespace Audio
} // namespace Vexel
