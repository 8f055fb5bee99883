// A timed change of an element's layout. The element that queues it owns it
// and asks DeleteWhenDone whether to delete it once it has finished.
#pragma once

#include "engine/ui/ElementLayout.h"

namespace Vexel
{
namespace UI
{

class ElementTransition
{
public:
    // Length in seconds.
    virtual float GetDuration() = 0;
    // Writes into out the layout elapsed seconds into the change that starts
    // at from; parentSizes are the element's parent sizes (portrait,
    // landscape). Returns out.
    virtual ElementLayout& Apply(ElementLayout& out, ElementLayout const& from, Vector2 const parentSizes[2],
                                 float elapsed) = 0;
    // A new copy on the heap.
    virtual ElementTransition* Clone() = 0;
    virtual bool DeleteWhenDone() { return true; }
    virtual ~ElementTransition() = default;
};

} // namespace UI
} // namespace Vexel
