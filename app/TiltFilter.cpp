#include "app/TiltFilter.h"

namespace Vexel
{
namespace App
{

const Vector3 TiltFilter::kBias(0.0f, 0.0f, -1.0f);

Vector3 TiltFilter::Advance(Vector3 const& raw)
{
    const Vector3 normalised = (kBias + raw).Normalized();
    filtered = filtered * 0.75f + normalised * 0.25f;
    return filtered;
}

} // namespace App
} // namespace Vexel
