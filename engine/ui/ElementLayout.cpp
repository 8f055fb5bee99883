// Alignment arithmetic of the layout record.
#include "engine/ui/ElementLayout.h"

namespace Vexel
{
namespace UI
{

namespace
{
// The amount added to a position to get the offset along one axis; bits is
// the axis's alignment value shifted down to 0..3 (1 near, 2 far, else centre).
float AxisShift(uint32_t bits, float size, float parentSize)
{
    switch (bits)
    {
    case 1:
        return 0.0f;
    case 2:
        return parentSize - size;
    default:
        return (parentSize - size) / 2.0f;
    }
}
} // namespace

Vector2 AlignedToOffset(Vector2 const& position, uint32_t alignment, Vector2 const& size,
                        Vector2 const& parentSize)
{
    return Vector2(position.x + AxisShift((alignment & Alignment::MaskX) >> 2, size.x, parentSize.x),
                   position.y + AxisShift(alignment & Alignment::MaskY, size.y, parentSize.y));
}

Vector2 OffsetToAligned(Vector2 const& offset, uint32_t alignment, Vector2 const& size,
                        Vector2 const& parentSize)
{
    return Vector2(offset.x - AxisShift((alignment & Alignment::MaskX) >> 2, size.x, parentSize.x),
                   offset.y - AxisShift(alignment & Alignment::MaskY, size.y, parentSize.y));
}

Vector2 ElementLayout::GetOffset(int variant, Vector2 const& parentSize, Vector2 const& size) const
{
    return AlignedToOffset(GetPositionVariant(variant), position.alignment, size, parentSize);
}

} // namespace UI
} // namespace Vexel
