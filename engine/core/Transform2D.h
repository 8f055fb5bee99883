// A 2-D affine transform: (f0, f1) and (f2, f3) are the columns of the linear
// part, (f4, f5) the translation. The all-zero value None means "no
// transform": drawing code handed it pushes no matrix.
#pragma once

#include "engine/core/Vector2.h"

struct Transform2D
{
    float f[6];

    Transform2D() : f{0, 0, 0, 0, 0, 0} {}
    Transform2D(Vector2 const& translation, Vector2 const& scale);
    Transform2D(Vector2 const& translation, float angle, Vector2 const& scale);

    Vector2 Apply(Vector2 const& p) const { return Vector2(f[0] * p.x + f[2] * p.y + f[4], f[1] * p.x + f[3] * p.y + f[5]); }

    // Byte-wise: -0.0 differs from +0.0.
    bool operator==(Transform2D const& o) const;
    bool operator!=(Transform2D const& o) const { return !(*this == o); }
    bool IsNone() const { return *this == None; }

    // GL matrix operations; defined by the graphics library, which owns every
    // GL call.
    void MultiplyGL() const;
    void Push() const;
    static void Pop();

    static const Transform2D None;
};
