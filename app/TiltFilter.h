// Smooths the accelerometer: each drawn frame moves the filtered tilt a
// quarter of the way towards the normalised reading (biased by (0, 0, -1),
// so a device lying still reads a unit vector).
#pragma once

#include "engine/core/Vector3.h"

namespace Vexel
{
namespace App
{

class TiltFilter
{
public:
    static const Vector3 kBias;

    // One step towards normalise(raw + bias); returns the new filtered tilt.
    Vector3 Advance(Vector3 const& raw);
    Vector3 const& GetFiltered() const { return filtered; }
    void Reset() { filtered = Vector3(); }

private:
    Vector3 filtered; // starts at (0, 0, 0)
};

} // namespace App
} // namespace Vexel
