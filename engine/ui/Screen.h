// A full-screen root element: laid out to the whole screen in both
// orientations, and hit by every point, so wherever a touch falls the
// screen's children and then its own touch mode get the chance to take it.
#pragma once

#include "engine/ui/Element.h"

namespace Vexel
{
namespace UI
{

class Screen : public Element
{
public:
    // Laid out and updated with dt 0 at once, before it is attached.
    explicit Screen(int touchMode);
    ~Screen() override;

    bool HitTest(Vector2 const& point) override;

    // The tree operations of any element, for the UI manager's roots.
    static void ArrangeRoot(Element* element, float dt, Vector2 const parentSizes[2], Vector2 origin);
    static void UpdateRoot(Element* element, float dt);
    static void DrawRoot(Element* element, Vector2 origin, float alpha);
};

} // namespace UI
} // namespace Vexel
