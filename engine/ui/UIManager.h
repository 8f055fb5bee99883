// The root of the user interface: root elements on numbered layers, the UI
// orientation, the clear colour, the latest tilt and four per-frame events.
// A set of static functions over process-wide state; the application shell
// drives it through the Events and Input interfaces handed out by
// Initialize. Main thread only (the four events may be subscribed from any
// thread). The manager never owns its roots: it deletes one only through a
// removal asked for with the delete flag.
#pragma once

#include "engine/core/Color.h"
#include "engine/core/Event.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Rectangle.h"
#include "engine/core/Vector2.h"
#include "engine/core/Vector3.h"
#include "engine/ui/UIManagerInterfaces.h"

namespace Vexel
{
namespace UI
{

class Element;

class UIManager
{
public:
    // The frame events under the UI manager's names: the same objects as
    // Vexel::FrameEvents (engine/core/FrameEvents.h), which code below the UI
    // subscribes to. Updating and Animating get dt in seconds, the draw
    // events the UI area (0, 0, width, height).
    static ConcurrentEvent<float>& Updating;
    static ConcurrentEvent<float>& Animating;
    static ConcurrentEvent<Vexel::Rectangle>& BeforeDraw;
    static ConcurrentEvent<Vexel::Rectangle>& AfterDraw;

    // The layer reported for an element that is not attached.
    static constexpr int kDetachedLayer = -2000000000;

    // Starts the music and sound-effect modules, applies the orientation at
    // once and the clear colour, and hands out the two interfaces.
    static void Initialize(int orientation, bool uiFlag, Color clearColor, bool musicEnabled,
                           bool soundEnabled, int effectVoiceCount, Internal::Events** events,
                           Internal::Input** input);

    static void SetClearColor(Color color);
    static Color GetClearColor();
    static bool GetUIFlag();
    // The latest filtered device tilt; never null.
    static Vector3* GetTilt();

    // Roots. Attaching lays the element out and updates it with dt 0 at once;
    // an element already attached moves to the new layer (to its end).
    static void AttachElement(Element* element, int layer);
    static void DetachElement(Element* element);
    // Detaches (and optionally deletes) the root once its transitions have
    // finished; the first request's flag holds.
    static void RemoveElement(Element* element, bool deleteAfter);
    static void ReplaceElement(Element* old, Element* replacement, bool deleteOld);
    static void ProcessRemovals();
    static bool IsAttached(Element* element);
    static bool IsMarkedForRemoval(Element* element);
    static int GetElementLayer(Element* element);
    static int GetRootCount();
    static int GetLayerRootCount(int layer);
    // Refills the root snapshot: layers ascending, each in attach order.
    static void CollectRoots();
    static Element* const* GetRootSnapshot(int* count);

    // Touches delivered as the shell would, for tools and tests.
    static bool InjectTouchDown(int id, Vector2 const& position, int tapCount);
    static void InjectTouchMove(int id, Vector2 const& position);
    static void InjectTouchUp(int id, Vector2 const& position, int tapCount);

    // Orientation: 0 and 2 are landscape, 1 and 3 portrait. A duration above
    // 0.01 s animates the rotation and the portrait/landscape blend.
    static void SetOrientation(int orientation, float duration);
    static int GetOrientation();
    static float GetRotation();
    static float GetOrientationBlend();
    // The screen size blended with the rotated screen size.
    static Vector2 GetUISize();
};

} // namespace UI
} // namespace Vexel
