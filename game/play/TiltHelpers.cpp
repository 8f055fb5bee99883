#include "game/play/TiltHelpers.h"

#include "engine/core/VectorMath.h"
#include "game/scores/GamePrefs.h"

namespace
{

bool Differs(Vector3 const& a, Vector3 const& b)
{
    return a.x != b.x || a.y != b.y || a.z != b.z;
}

} // namespace

Vector2 GetCalibratedTilt(Vector3 const& tilt)
{
    // Recomputed only when the calibration changes.
    static Vector3 lastReference;
    static float referenceAngle = 0.0f;

    const Vector3 reference = GamePrefs::GetTiltReference();
    if (Differs(reference, lastReference))
    {
        lastReference = reference;
        referenceAngle = Vector2(reference.x, reference.y).Angle() + Vexel::kPi;
    }
    const Vector3 t = tilt.Normalized();
    return Vector2(-t.x, t.y).Rotate(referenceAngle);
}

bool IsDeviceFlat(Vector3 const& tilt)
{
    const float z = tilt.Normalized().z;
    return (z < 0.0f ? -z : z) > 0.972f;
}
