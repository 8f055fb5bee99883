// The node of every UI tree. An element has a layout for both orientations,
// owns its children and a queue of layout transitions, and turns the touches
// the UI manager hands it into down, move, up, tap and click hooks and events.
// Coordinates are UI pixels, (0, 0) at the top left, y down; times are float
// seconds. Main thread only.
#pragma once

#include "engine/core/Event.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/ui/ElementLayout.h"
#include "engine/ui/ElementTransition.h"

namespace Vexel
{
namespace UI
{

struct TouchMode
{
    enum Enum
    {
        Ignore = 0,  // never takes a touch
        Take = 1,    // takes a touch when not already pressed
        Swallow = 2, // like Take, and swallows further touches while pressed
    };
};

class Element
{
public:
    Element(ElementLayout layout, int touchMode);
    // Fires Destroyed, then deletes the children (depth first) and the
    // transitions still owned; none of them is applied or announced.
    virtual ~Element();

    Element(Element const&) = delete;
    Element& operator=(Element const&) = delete;

    // Hooks for subclasses; all do nothing here.
    virtual void Update(float dt);
    // rect is the absolute rectangle, alpha the accumulated opacity.
    virtual void Draw(Vexel::Rectangle rect, float alpha);
    virtual void OnLayout();
    virtual void DrawBegin(Vexel::Rectangle rect, float alpha);
    // After the children were drawn.
    virtual void DrawEnd(Vexel::Rectangle rect, float alpha);
    virtual void OnTouchDown(Vector2 const& position, int tapCount);
    virtual void OnTouchMove(Vector2 const& position);
    virtual void OnTouchAux1(Vector2 const& position);
    virtual void OnTouchAux2(Vector2 const& position);
    virtual void OnTouchUp(Vector2 const& position, int tapCount);
    // A release held less than 0.33 s that travelled less than 15 px.
    virtual void OnTap(Vector2 const& position, int tapCount);
    // A release inside the element.
    virtual void OnClick(Vector2 const& position);
    // Inside the element's current rectangle.
    virtual bool HitTest(Vector2 const& point);

    // Layout queries on the live layout; "position" is the top-left offset
    // inside the parent, portrait and landscape blended by the orientation.
    ElementLayout const& GetLayout() const;
    Vector2 GetPosition() const;
    Vector2 GetPositionFor(bool portrait) const;
    Vector2 GetSize() const;
    Vector2 GetSizeFor(bool portrait) const;
    bool IsEnabled() const;
    bool IsVisible() const;
    float GetAlpha() const;
    int GetTouchMode() const;

    // Each queues an instant transition of one component, so a setter never
    // cuts a running animation short: it takes effect after what is queued.
    void SetPosition(ElementPosition position);
    void SetSize(Vector2 const& size);
    void SetSizes(Vector2 const& portrait, Vector2 const& landscape);
    void SetAlpha(float alpha);
    void SetEnabled(bool enabled);
    void SetVisible(bool visible);

    // Takes ownership. Starts at once when nothing runs.
    void QueueTransition(ElementTransition* transition);
    bool IsTransitioning() const;
    // Runs the queue: starts, finishes and applies transitions.
    void AdvanceTransitions(float dt);

    // Appends and lays out the child, which the element owns from then on.
    // Null, the element itself and a child already listed change nothing.
    Element* AddChild(Element* child);
    // Unlists the first occurrence without deleting it.
    Element* RemoveChild(Element* child);
    bool HasChild(Element* child) const;
    int GetChildCount() const;
    Element* GetChild(int index) const;

    bool IsPressed() const;
    bool IsPressedInside();
    Vector2 GetTouchDownPosition() const;
    Vector2 GetTouchPosition() const;
    int GetTapCount() const;
    float GetHeldTime() const;

    // Tree operations, run by the UI manager on its roots and recursively.
    // parentSizes are (portrait, landscape).
    void Arrange(float dt, Vector2 const parentSizes[2], Vector2 const& origin);
    void UpdateTree(float dt);
    void DrawTree(Vector2 parentOrigin, float parentAlpha);
    // True when the search is decided: *target is the element that takes the
    // touch, or null when it is swallowed. False when nothing here takes it.
    bool FindTouchTarget(Vector2 point, Element** target);

    // Touch dispatch on the element that holds the touch. TouchDown answers
    // true: the touch was taken.
    bool TouchDown(Vector2 const& position, int tapCount);
    void TouchMove(Vector2 const& position);
    void TouchAux1(Vector2 const& position);
    void TouchAux2(Vector2 const& position);
    void TouchUp(Vector2 const& position);
    // Ends a press with TouchedUp only: no hook, tap or click.
    void CancelTouch();

    // The first argument is always the element itself.
    Event<Element*> Destroyed;
    Event<Element*> LayoutChanged;
    Event<Element*, float> Updated;
    Event<Element*, Vexel::Rectangle, float> PreDraw;
    Event<Element*, Vexel::Rectangle, float> Drawn;
    Event<Element*, Vexel::Rectangle, float> PostDraw;
    Event<Element*, ElementTransition*> TransitionStarted;
    Event<Element*, ElementTransition*> TransitionFinished;
    Event<Element*, Vector2 const&, int> TouchedDown;
    Event<Element*, Vector2 const&> TouchMoved;
    Event<Element*, Vector2 const&> TouchedAux1;
    Event<Element*, Vector2 const&> TouchedAux2;
    Event<Element*, Vector2 const&, int> TouchedUp;
    Event<Element*, Vector2 const&, int> Tapped;
    Event<Element*, Vector2 const&> Clicked;

    struct Impl;

protected:
    // Keeps a dispatch safe from a handler that deletes this element (a page
    // rebuilt from a click, a row removed from its own button). Declare one
    // on the stack before raising an event or calling a hook whose handler
    // may delete the element; after each such call, return at once when
    // ElementDeleted() is true, touching no member and no argument that the
    // element owned. Guards nest, one per dispatch under way: the destructor
    // marks every open guard of the element, inner and outer. A guard never
    // outlives its scope and is not copied. Main thread only, like the
    // element.
    class DispatchGuard
    {
    public:
        explicit DispatchGuard(Element* element);
        ~DispatchGuard();
        DispatchGuard(DispatchGuard const&) = delete;
        DispatchGuard& operator=(DispatchGuard const&) = delete;

        bool ElementDeleted() const { return deleted; }

    private:
        friend class Element;
        Impl* impl;              // the element's state; not touched once deleted
        DispatchGuard* previous; // the guard of the dispatch this one runs inside
        bool deleted = false;
    };

private:
    Impl* impl;
};

} // namespace UI
} // namespace Vexel
