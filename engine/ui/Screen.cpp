// Full-screen root element.
#include "engine/ui/Screen.h"

#include "engine/core/Platform.h"

namespace Vexel
{
namespace UI
{

namespace
{
ElementLayout FullScreenLayout()
{
    return ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Platform::GetScreenSize(),
                         Platform::GetRotatedScreenSize(), 1.0f, true);
}
} // namespace

Screen::Screen(int touchMode) : Element(FullScreenLayout(), touchMode)
{
    const Vector2 sizes[2] = {GetLayout().sizePortrait, GetLayout().sizeLandscape};
    Arrange(0.0f, sizes, Vector2(0.0f, 0.0f));
    UpdateTree(0.0f);
}

Screen::~Screen() = default;

bool Screen::HitTest(Vector2 const&)
{
    return true;
}

void Screen::ArrangeRoot(Element* element, float dt, Vector2 const parentSizes[2], Vector2 origin)
{
    element->Arrange(dt, parentSizes, origin);
}

void Screen::UpdateRoot(Element* element, float dt)
{
    element->UpdateTree(dt);
}

void Screen::DrawRoot(Element* element, Vector2 origin, float alpha)
{
    element->DrawTree(origin, alpha);
}

} // namespace UI
} // namespace Vexel
