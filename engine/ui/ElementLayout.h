// The layout record of every element and every transition target: a position
// per orientation read through alignment bits, a size per orientation, the
// element's own opacity and its enabled and visible flags.
#pragma once

#include "engine/core/Vector2.h"

#include <cstdint>

namespace Vexel
{
namespace UI
{

// Alignment bits: bits 0-1 align the y axis, bits 2-3 the x axis.
struct Alignment
{
    enum Enum : uint32_t
    {
        CenterY = 0,
        Top = 1,
        Bottom = 2,
        StretchY = 3,
        CenterX = 0,
        Left = 4,
        Right = 8,
        StretchX = 12,
        MaskY = 3,
        MaskX = 12,
        TopLeft = Top | Left,
    };
};

struct ElementPosition
{
    Vector2 positionPortrait;
    Vector2 positionLandscape;
    uint32_t alignment;

    // (0, 0) at the top left.
    ElementPosition() : alignment(Alignment::TopLeft) {}
    // The same position in both orientations, top-left aligned.
    ElementPosition(Vector2 const& position)
        : positionPortrait(position), positionLandscape(position), alignment(Alignment::TopLeft)
    {
    }
    ElementPosition(Vector2 const& position, uint32_t alignment)
        : positionPortrait(position), positionLandscape(position), alignment(alignment)
    {
    }
    ElementPosition(Vector2 const& portrait, Vector2 const& landscape, uint32_t alignment)
        : positionPortrait(portrait), positionLandscape(landscape), alignment(alignment)
    {
    }
};

// One position as read through the alignment, turned into the top-left
// offset of an element of the given size inside its parent (per axis: near
// edge keeps it, far edge adds the free space, centre and stretch add half).
Vector2 AlignedToOffset(Vector2 const& position, uint32_t alignment, Vector2 const& size,
                        Vector2 const& parentSize);
// The inverse: the position that gives this offset under the alignment.
Vector2 OffsetToAligned(Vector2 const& offset, uint32_t alignment, Vector2 const& size,
                        Vector2 const& parentSize);

struct ElementLayout
{
    ElementPosition position;
    Vector2 sizePortrait;
    Vector2 sizeLandscape;
    float alpha;
    bool enabled;
    bool visible;

    // Top left at (0, 0), no size, opaque, enabled and visible.
    ElementLayout() : alpha(1.0f), enabled(true), visible(true) {}
    ElementLayout(ElementPosition const& position, Vector2 const& portraitSize, Vector2 const& landscapeSize,
                  float alpha = 1.0f, bool enabled = true)
        : position(position), sizePortrait(portraitSize), sizeLandscape(landscapeSize), alpha(alpha),
          enabled(enabled), visible(true)
    {
    }
    ElementLayout(ElementPosition const& position, Vector2 const& size, float alpha = 1.0f,
                  bool enabled = true)
        : position(position), sizePortrait(size), sizeLandscape(size), alpha(alpha), enabled(enabled),
          visible(true)
    {
    }

    // Variant 0 is portrait, anything else landscape.
    Vector2 const& GetPositionVariant(int variant) const
    {
        return variant == 0 ? position.positionPortrait : position.positionLandscape;
    }
    Vector2 const& GetSizeVariant(int variant) const { return variant == 0 ? sizePortrait : sizeLandscape; }

    // Top-left offset of one variant inside a parent of the given size.
    Vector2 GetOffset(int variant, Vector2 const& parentSize, Vector2 const& size) const;
};

} // namespace UI
} // namespace Vexel
