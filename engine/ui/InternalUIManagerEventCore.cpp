// The frame phases over the UI manager's roots and the touch captures.
#include "engine/ui/InternalUIManagerEventCore.h"

#include "engine/core/Color.h"
#include "engine/core/Platform.h"
#include "engine/graphics/GL.h"
#include "engine/ui/Element.h"
#include "engine/ui/UIManager.h"
#include "engine/ui/UIOrientation.h"

using Vexel::UI::Element;
using Vexel::UI::UIManager;

namespace
{
// The root at a place of the snapshot, or null past its end. Read afresh at
// every step: handlers may refill the snapshot during a walk.
Element* RootAt(int index)
{
    int count = 0;
    Element* const* roots = UIManager::GetRootSnapshot(&count);
    return index < count ? roots[index] : nullptr;
}

Vexel::Rectangle UIArea()
{
    const Vector2 size = UIManager::GetUISize();
    return Vexel::Rectangle(0.0f, 0.0f, size.x, size.y);
}
} // namespace

InternalUIManagerEventCore& InternalUIManagerEventCore::Instance()
{
    static InternalUIManagerEventCore instance;
    return instance;
}

void InternalUIManagerEventCore::Animate(float dt)
{
    Vexel::UI::Internal::StepOrientation(dt);
    UIManager::Animating.Raise(dt);
    const Vector2 sizes[2] = {Vexel::Platform::GetScreenSize(), Vexel::Platform::GetRotatedScreenSize()};
    UIManager::CollectRoots();
    for (int i = 0; Element* root = RootAt(i); ++i)
        if (UIManager::IsAttached(root))
            root->Arrange(dt, sizes, Vector2(0.0f, 0.0f));
    UIManager::ProcessRemovals();
}

void InternalUIManagerEventCore::Update(float dt)
{
    UIManager::Updating.Raise(dt);
    UIManager::CollectRoots();
    for (int i = 0; Element* root = RootAt(i); ++i)
        if (UIManager::IsAttached(root))
            root->UpdateTree(dt);
}

void InternalUIManagerEventCore::Draw()
{
    namespace GL = Vexel::Graphics::GL;
    UIManager::ProcessRemovals();

    const Color4f clear(UIManager::GetClearColor());
    GL::ClearColor(clear.r, clear.g, clear.b, clear.a);
    GL::Clear(GL_COLOR_BUFFER_BIT);

    // The shell's projection puts (0, 0) at the screen centre; the UI origin
    // is the top left of the UI area.
    const Vexel::Rectangle area = UIArea();
    GL::PushMatrix();
    GL::Translatef(-0.5f * area.width, -0.5f * area.height, 0.0f);

    UIManager::BeforeDraw.Raise(area);
    UIManager::CollectRoots();
    for (int i = 0; Element* root = RootAt(i); ++i)
        if (UIManager::IsAttached(root))
            root->DrawTree(Vector2(0.0f, 0.0f), 1.0f);
    UIManager::AfterDraw.Raise(area);

    GL::PopMatrix();
}

bool InternalUIManagerEventCore::TouchDown(int id, Vexel::UI::TouchPoint point)
{
    UIManager::CollectRoots();
    int count = 0;
    UIManager::GetRootSnapshot(&count);
    // Top-most layer first; within a layer the latest attached first.
    for (int i = count - 1; i >= 0; --i)
    {
        Element* root = RootAt(i);
        if (!root || !UIManager::IsAttached(root))
            continue;
        Element* target = nullptr;
        if (!root->FindTouchTarget(point.position, &target))
            continue;
        if (!target)
            return true; // swallowed
        ReleaseCapture(id);
        captures[id] = target;
        owners[target] = id;
        target->Destroyed.Subscribe(
            Vexel::Action<Element*>(this, &InternalUIManagerEventCore::OnCapturedElementDestroyed));
        return target->TouchDown(point.position, point.tapCount);
    }
    return false;
}

void InternalUIManagerEventCore::TouchMove(int id, Vexel::UI::TouchPoint point)
{
    auto found = captures.find(id);
    if (found != captures.end())
        found->second->TouchMove(point.position);
}

void InternalUIManagerEventCore::TouchUp(int id, Vexel::UI::TouchPoint point)
{
    auto found = captures.find(id);
    if (found == captures.end())
        return;
    Element* element = found->second;
    // Released before the element hears of it: its handlers may delete it.
    ReleaseCapture(id);
    element->TouchUp(point.position);
}

void InternalUIManagerEventCore::Tilt(Vector3 tilt)
{
    // The shell turned the tilt by the UI rotation; keep the device's own.
    const Vector2 xy = Vector2(tilt.x, tilt.y).Rotate(-UIManager::GetRotation());
    *UIManager::GetTilt() = Vector3(xy.x, xy.y, tilt.z);
}

void InternalUIManagerEventCore::OnCapturedElementDestroyed(Element* element)
{
    for (auto it = captures.begin(); it != captures.end();)
    {
        if (it->second == element)
            it = captures.erase(it);
        else
            ++it;
    }
    owners.erase(element);
    element->Destroyed.Unsubscribe(this);
}

Element* InternalUIManagerEventCore::GetCapture(int id) const
{
    auto found = captures.find(id);
    return found == captures.end() ? nullptr : found->second;
}

int InternalUIManagerEventCore::GetCaptureCount() const
{
    return int(captures.size());
}

int InternalUIManagerEventCore::GetOwnedTouch(Element* element) const
{
    auto found = owners.find(element);
    return found == owners.end() ? -1 : found->second;
}

void InternalUIManagerEventCore::ReleaseCapture(int id)
{
    auto found = captures.find(id);
    if (found == captures.end())
        return;
    Element* element = found->second;
    captures.erase(found);

    for (auto const& capture : captures)
    {
        if (capture.second == element)
        {
            // Still holding another touch: stay subscribed, and let the owner
            // entry name a touch it really holds.
            auto owner = owners.find(element);
            if (owner != owners.end() && owner->second == id)
                owner->second = capture.first;
            return;
        }
    }
    owners.erase(element);
    element->Destroyed.Unsubscribe(this);
}
