// Element layout, tree walks, transitions queue and touch dispatch.
#include "engine/ui/Element.h"

#include "engine/ui/BasicTransition.h"
#include "engine/ui/Easing.h"
#include "engine/ui/UIManager.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace Vexel
{
namespace UI
{

namespace
{
const size_t kInitialChildCapacity = 16;
const float kMinimumDrawnAlpha = 0.001f;
const float kTapMaxHeldSeconds = 0.33f;
const float kTapMaxTravelSquared = 225.0f; // 15 px
} // namespace

struct Element::Impl
{
    int touchMode;
    ElementLayout layout;
    std::vector<Element*>* children = nullptr;             // null while empty
    std::deque<ElementTransition*>* transitions = nullptr; // null while empty
    ElementTransition* currentTransition = nullptr;
    ElementLayout baseLayout; // the live layout when the running transition started
    float transitionClock = 0.0f;
    Vector2 origin; // the parent's absolute top left at the last Arrange
    Vector2 parentSizes[2];
    bool arranged = false;
    Vector2 touchDownPosition;
    Vector2 touchPosition;
    int tapCount = 0;
    float heldTime = 0.0f;
    bool pressed = false;
    DispatchGuard* guards = nullptr; // innermost open guard

    Impl(ElementLayout const& layout, int touchMode)
        : touchMode(touchMode), layout(layout), baseLayout(layout)
    {
    }
};

namespace
{
Vector2 BlendedOffset(ElementLayout const& layout, Vector2 const parentSizes[2])
{
    return Vector2::Lerp(layout.GetOffset(0, parentSizes[0], layout.sizePortrait),
                         layout.GetOffset(1, parentSizes[1], layout.sizeLandscape),
                         UIManager::GetOrientationBlend());
}
} // namespace

Element::Element(ElementLayout layout, int touchMode) : impl(new Impl(layout, touchMode)) {}

Element::DispatchGuard::DispatchGuard(Element* element) : impl(element->impl), previous(element->impl->guards)
{
    impl->guards = this;
}

Element::DispatchGuard::~DispatchGuard()
{
    if (!deleted)
        impl->guards = previous;
}

Element::~Element()
{
    Destroyed.Raise(this);

    for (DispatchGuard* guard = impl->guards; guard; guard = guard->previous)
        guard->deleted = true;

    if (impl->children)
    {
        std::vector<Element*> children;
        children.swap(*impl->children);
        delete impl->children;
        impl->children = nullptr;
        for (Element* child : children)
            delete child;
    }

    // The element owns what was handed to QueueTransition; transitions that
    // their creator keeps (DeleteWhenDone false) stay with the creator.
    if (impl->currentTransition && impl->currentTransition->DeleteWhenDone())
        delete impl->currentTransition;
    if (impl->transitions)
    {
        for (ElementTransition* transition : *impl->transitions)
            if (transition->DeleteWhenDone())
                delete transition;
        delete impl->transitions;
    }
    delete impl;
}

void Element::Update(float) {}
void Element::Draw(Vexel::Rectangle, float) {}
void Element::OnLayout() {}
void Element::DrawBegin(Vexel::Rectangle, float) {}
void Element::DrawEnd(Vexel::Rectangle, float) {}
void Element::OnTouchDown(Vector2 const&, int) {}
void Element::OnTouchMove(Vector2 const&) {}
void Element::OnTouchAux1(Vector2 const&) {}
void Element::OnTouchAux2(Vector2 const&) {}
void Element::OnTouchUp(Vector2 const&, int) {}
void Element::OnTap(Vector2 const&, int) {}
void Element::OnClick(Vector2 const&) {}

bool Element::HitTest(Vector2 const& point)
{
    const Vector2 local = point - GetPosition() - impl->origin;
    const Vector2 size = GetSize();
    return local.x >= 0.0f && local.x < size.x && local.y >= 0.0f && local.y < size.y;
}

ElementLayout const& Element::GetLayout() const
{
    return impl->layout;
}

Vector2 Element::GetPosition() const
{
    return BlendedOffset(impl->layout, impl->parentSizes);
}

Vector2 Element::GetPositionFor(bool portrait) const
{
    const int variant = portrait ? 0 : 1;
    return impl->layout.GetOffset(variant, impl->parentSizes[variant], impl->layout.GetSizeVariant(variant));
}

Vector2 Element::GetSize() const
{
    return Vector2::Lerp(impl->layout.sizePortrait, impl->layout.sizeLandscape,
                         UIManager::GetOrientationBlend());
}

Vector2 Element::GetSizeFor(bool portrait) const
{
    return portrait ? impl->layout.sizePortrait : impl->layout.sizeLandscape;
}

bool Element::IsEnabled() const
{
    return impl->layout.enabled;
}
bool Element::IsVisible() const
{
    return impl->layout.visible;
}
float Element::GetAlpha() const
{
    return impl->layout.alpha;
}
int Element::GetTouchMode() const
{
    return impl->touchMode;
}

void Element::SetPosition(ElementPosition position)
{
    QueueTransition(new Transitions::BasicTransition(position, 0.0f, Transitions::EasingMode::Linear));
}

void Element::SetSize(Vector2 const& size)
{
    QueueTransition(new Transitions::BasicTransition(size, 0.0f, Transitions::EasingMode::Linear));
}

void Element::SetSizes(Vector2 const& portrait, Vector2 const& landscape)
{
    QueueTransition(
        new Transitions::BasicTransition(portrait, landscape, 0.0f, Transitions::EasingMode::Linear));
}

void Element::SetAlpha(float alpha)
{
    QueueTransition(new Transitions::BasicTransition(alpha, 0.0f, Transitions::EasingMode::Linear));
}

void Element::SetEnabled(bool enabled)
{
    QueueTransition(new Transitions::BasicTransition(enabled, Transitions::TransitionFlag::Enabled, 0.0f,
                                                     Transitions::EasingMode::Linear));
}

void Element::SetVisible(bool visible)
{
    QueueTransition(new Transitions::BasicTransition(visible, Transitions::TransitionFlag::Visible, 0.0f,
                                                     Transitions::EasingMode::Linear));
}

void Element::QueueTransition(ElementTransition* transition)
{
    if (!transition)
        return;
    if (!impl->transitions)
        impl->transitions = new std::deque<ElementTransition*>();
    impl->transitions->push_back(transition);
    if (!impl->currentTransition)
    {
        impl->transitionClock = 0.0f;
        AdvanceTransitions(0.0f);
    }
}

bool Element::IsTransitioning() const
{
    return impl->currentTransition || (impl->transitions && !impl->transitions->empty());
}

void Element::AdvanceTransitions(float dt)
{
    DispatchGuard alive(this);
    impl->transitionClock += dt;
    for (;;)
    {
        if (!impl->currentTransition)
        {
            if (!impl->transitions || impl->transitions->empty())
                return;
            impl->baseLayout = impl->layout;
            impl->currentTransition = impl->transitions->front();
            impl->transitions->pop_front();
            if (impl->transitions->empty())
            {
                delete impl->transitions;
                impl->transitions = nullptr;
            }
            TransitionStarted.Raise(this, impl->currentTransition);
            if (alive.ElementDeleted())
                return;
            // A handler may have run the queue on (through QueueTransition).
            if (!impl->currentTransition)
                continue;
        }

        const float duration = impl->currentTransition->GetDuration();
        if (impl->transitionClock < duration)
            break;

        impl->transitionClock -= duration;
        ElementLayout end = impl->baseLayout;
        impl->layout = impl->currentTransition->Apply(end, impl->baseLayout, impl->parentSizes, duration);

        ElementTransition* finished = impl->currentTransition;
        impl->currentTransition = nullptr;
        const bool deleteFinished = finished->DeleteWhenDone();
        TransitionFinished.Raise(this, finished);
        if (deleteFinished)
            delete finished;
        if (alive.ElementDeleted())
            return;
    }
    impl->currentTransition->Apply(impl->layout, impl->baseLayout, impl->parentSizes, impl->transitionClock);
}

Element* Element::AddChild(Element* child)
{
    if (!child || child == this || HasChild(child))
        return child;
    if (!impl->children)
    {
        impl->children = new std::vector<Element*>();
        impl->children->reserve(kInitialChildCapacity);
    }
    impl->children->push_back(child);
    const Vector2 sizes[2] = {impl->layout.sizePortrait, impl->layout.sizeLandscape};
    child->Arrange(0.0f, sizes, impl->origin + GetPosition());
    child->UpdateTree(0.0f);
    return child;
}

Element* Element::RemoveChild(Element* child)
{
    if (!impl->children)
        return child;
    auto found = std::find(impl->children->begin(), impl->children->end(), child);
    if (found == impl->children->end())
        return child;
    impl->children->erase(found);
    if (impl->children->empty())
    {
        delete impl->children;
        impl->children = nullptr;
    }
    return child;
}

bool Element::HasChild(Element* child) const
{
    return impl->children &&
           std::find(impl->children->begin(), impl->children->end(), child) != impl->children->end();
}

int Element::GetChildCount() const
{
    return impl->children ? int(impl->children->size()) : 0;
}

Element* Element::GetChild(int index) const
{
    if (!impl->children || index < 0 || size_t(index) >= impl->children->size())
        return nullptr;
    return (*impl->children)[size_t(index)];
}

bool Element::IsPressed() const
{
    return impl->pressed;
}
bool Element::IsPressedInside()
{
    return impl->pressed && HitTest(impl->touchPosition);
}
Vector2 Element::GetTouchDownPosition() const
{
    return impl->touchDownPosition;
}
Vector2 Element::GetTouchPosition() const
{
    return impl->touchPosition;
}
int Element::GetTapCount() const
{
    return impl->tapCount;
}
float Element::GetHeldTime() const
{
    return impl->heldTime;
}

void Element::Arrange(float dt, Vector2 const parentSizes[2], Vector2 const& origin)
{
    DispatchGuard alive(this);
    ElementLayout& layout = impl->layout;
    // A stretched axis keeps its distance to the parent's edges.
    if (impl->arranged && !IsTransitioning())
    {
        if ((layout.position.alignment & Alignment::MaskX) == Alignment::StretchX)
        {
            layout.sizePortrait.x += parentSizes[0].x - impl->parentSizes[0].x;
            layout.sizeLandscape.x += parentSizes[1].x - impl->parentSizes[1].x;
        }
        if ((layout.position.alignment & Alignment::MaskY) == Alignment::StretchY)
        {
            layout.sizePortrait.y += parentSizes[0].y - impl->parentSizes[0].y;
            layout.sizeLandscape.y += parentSizes[1].y - impl->parentSizes[1].y;
        }
    }
    impl->parentSizes[0] = parentSizes[0];
    impl->parentSizes[1] = parentSizes[1];
    impl->origin = origin;
    impl->arranged = true;

    AdvanceTransitions(dt);
    if (alive.ElementDeleted())
        return;
    OnLayout();
    if (alive.ElementDeleted())
        return;
    LayoutChanged.Raise(this);
    if (alive.ElementDeleted())
        return;

    if (!impl->children)
        return;
    const Vector2 childOrigin = origin + GetPosition();
    const Vector2 sizes[2] = {impl->layout.sizePortrait, impl->layout.sizeLandscape};
    // By index: handlers may add or remove children during the walk.
    for (size_t i = 0; impl->children && i < impl->children->size(); ++i)
    {
        (*impl->children)[i]->Arrange(dt, sizes, childOrigin);
        if (alive.ElementDeleted())
            return;
    }
}

void Element::UpdateTree(float dt)
{
    DispatchGuard alive(this);
    if (impl->pressed)
        impl->heldTime += dt;
    Update(dt);
    if (alive.ElementDeleted())
        return;
    Updated.Raise(this, dt);
    if (alive.ElementDeleted())
        return;
    for (size_t i = 0; impl->children && i < impl->children->size(); ++i)
    {
        (*impl->children)[i]->UpdateTree(dt);
        if (alive.ElementDeleted())
            return;
    }
}

void Element::DrawTree(Vector2 parentOrigin, float parentAlpha)
{
    const Vector2 topLeft = parentOrigin + GetPosition();
    const Vexel::Rectangle rect(topLeft, GetSize());
    const float alpha = impl->layout.alpha * parentAlpha;
    // Written so that a NaN alpha draws nothing as well.
    if (!(alpha >= kMinimumDrawnAlpha) || !impl->layout.visible)
        return;

    DispatchGuard alive(this);
    DrawBegin(rect, alpha);
    if (alive.ElementDeleted())
        return;
    PreDraw.Raise(this, rect, alpha);
    if (alive.ElementDeleted())
        return;
    Draw(rect, alpha);
    if (alive.ElementDeleted())
        return;
    Drawn.Raise(this, rect, alpha);
    if (alive.ElementDeleted())
        return;
    for (size_t i = 0; impl->children && i < impl->children->size(); ++i)
    {
        (*impl->children)[i]->DrawTree(topLeft, alpha);
        if (alive.ElementDeleted())
            return;
    }
    DrawEnd(rect, alpha);
    if (alive.ElementDeleted())
        return;
    PostDraw.Raise(this, rect, alpha);
}

bool Element::FindTouchTarget(Vector2 point, Element** target)
{
    if (!HitTest(point) || !impl->layout.visible || !impl->layout.enabled)
        return false;
    if (impl->children)
    {
        for (size_t i = impl->children->size(); i-- > 0;)
            if ((*impl->children)[i]->FindTouchTarget(point, target))
                return true;
    }
    switch (impl->touchMode)
    {
    case TouchMode::Take:
        if (impl->pressed)
            return false;
        *target = this;
        return true;
    case TouchMode::Swallow:
        *target = impl->pressed ? nullptr : this;
        return true;
    default:
        return false;
    }
}

bool Element::TouchDown(Vector2 const& position, int tapCount)
{
    DispatchGuard alive(this);
    impl->touchDownPosition = position;
    impl->touchPosition = position;
    impl->tapCount = tapCount;
    impl->heldTime = 0.0f;
    impl->pressed = true;
    TouchedDown.Raise(this, position, tapCount);
    if (alive.ElementDeleted())
        return true;
    OnTouchDown(position, tapCount);
    return true;
}

void Element::TouchMove(Vector2 const& position)
{
    DispatchGuard alive(this);
    impl->touchPosition = position;
    TouchMoved.Raise(this, position);
    if (alive.ElementDeleted())
        return;
    OnTouchMove(position);
}

void Element::TouchAux1(Vector2 const& position)
{
    DispatchGuard alive(this);
    impl->touchPosition = position;
    TouchedAux1.Raise(this, position);
    if (alive.ElementDeleted())
        return;
    OnTouchAux1(position);
}

void Element::TouchAux2(Vector2 const& position)
{
    DispatchGuard alive(this);
    impl->touchPosition = position;
    TouchedAux2.Raise(this, position);
    if (alive.ElementDeleted())
        return;
    OnTouchAux2(position);
}

void Element::TouchUp(Vector2 const& position)
{
    DispatchGuard alive(this);
    impl->pressed = false;
    impl->touchPosition = position;
    const int tapCount = impl->tapCount;

    TouchedUp.Raise(this, position, tapCount);
    if (alive.ElementDeleted())
        return;
    OnTouchUp(position, tapCount);
    if (alive.ElementDeleted())
        return;

    const Vector2 travel = impl->touchPosition - impl->touchDownPosition;
    if (impl->heldTime < kTapMaxHeldSeconds && travel.LengthSquared() < kTapMaxTravelSquared)
    {
        Tapped.Raise(this, position, tapCount);
        if (alive.ElementDeleted())
            return;
        OnTap(position, tapCount);
        if (alive.ElementDeleted())
            return;
    }

    if (HitTest(position))
    {
        Clicked.Raise(this, position);
        if (alive.ElementDeleted())
            return;
        OnClick(position);
    }
}

void Element::CancelTouch()
{
    if (!impl->pressed)
        return;
    impl->pressed = false;
    const Vector2 position = impl->touchPosition;
    TouchedUp.Raise(this, position, impl->tapCount);
}

} // namespace UI
} // namespace Vexel
