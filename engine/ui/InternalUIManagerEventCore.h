// The one object behind the UI manager's Events and Input interfaces: runs
// the frame phases over the roots and keeps the touch captures (which
// element holds which touch id until its release).
#pragma once

#include "engine/ui/UIManagerInterfaces.h"

#include <map>

namespace Vexel
{
namespace UI
{
class Element;
}
} // namespace Vexel

class InternalUIManagerEventCore : public Vexel::UI::Internal::Events, public Vexel::UI::Internal::Input
{
public:
    // The process-wide instance.
    static InternalUIManagerEventCore& Instance();

    void Animate(float dt) override;
    void Update(float dt) override;
    void Draw() override;

    bool TouchDown(int id, Vexel::UI::TouchPoint point) override;
    void TouchMove(int id, Vexel::UI::TouchPoint point) override;
    void TouchUp(int id, Vexel::UI::TouchPoint point) override;
    void Tilt(Vector3 tilt) override;

    // Ends every capture that names the element.
    void OnCapturedElementDestroyed(Vexel::UI::Element* element);

    // The element holding a touch id, or null.
    Vexel::UI::Element* GetCapture(int id) const;
    int GetCaptureCount() const;
    // The element's last captured touch id, or -1 when it holds none.
    int GetOwnedTouch(Vexel::UI::Element* element) const;

    InternalUIManagerEventCore(InternalUIManagerEventCore const&) = delete;
    InternalUIManagerEventCore& operator=(InternalUIManagerEventCore const&) = delete;

private:
    InternalUIManagerEventCore() = default;
    ~InternalUIManagerEventCore() = default;

    // Drops one capture entry; the element's Destroyed subscription goes with
    // the last entry that names it.
    void ReleaseCapture(int id);

    std::map<int, Vexel::UI::Element*> captures;
    std::map<Vexel::UI::Element*, int> owners;
};
