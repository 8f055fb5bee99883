#include "engine/core/Transform2D.h"

#include <cmath>
#include <cstring>

const Transform2D Transform2D::None(Vector2(0.0f, 0.0f), Vector2(0.0f, 0.0f));

Transform2D::Transform2D(Vector2 const& translation, Vector2 const& scale)
    : f{scale.x, 0.0f, 0.0f, scale.y, translation.x, translation.y}
{
}

Transform2D::Transform2D(Vector2 const& translation, float angle, Vector2 const& scale)
{
    const float c = cosf(angle);
    const float s = sinf(angle);
    f[0] = c * scale.x;
    f[1] = -s * scale.y;
    f[2] = s * scale.x;
    f[3] = c * scale.y;
    f[4] = translation.x;
    f[5] = translation.y;
}

bool Transform2D::operator==(Transform2D const& o) const { return std::memcmp(f, o.f, sizeof(f)) == 0; }
