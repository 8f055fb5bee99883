#include "engine/core/Rectangle.h"

namespace Vexel
{

void Rectangle::Union(Rectangle const& other)
{
    float d = x - other.x;
    if (d > 0.0f)
    {
        x = other.x;
        width += d;
    }
    d = y - other.y;
    if (d > 0.0f)
    {
        y = other.y;
        height += d;
    }
    d = other.Right() - Right();
    if (d > 0.0f)
        width += d;
    d = other.Bottom() - Bottom();
    if (d > 0.0f)
        height += d;
}

} // namespace Vexel
