// The UI manager's roots on layers, their removal, the clear colour, the
// stored tilt and start-up.
#include "engine/ui/UIManager.h"

#include "engine/audio/Music.h"
#include "engine/audio/SoundEffects.h"
#include "engine/core/Platform.h"
#include "engine/ui/Element.h"
#include "engine/ui/InternalUIManagerEventCore.h"

#include <algorithm>
#include <map>
#include <vector>

namespace Vexel
{
namespace UI
{

ConcurrentEvent<float>& UIManager::Updating = FrameEvents::Updating;
ConcurrentEvent<float>& UIManager::Animating = FrameEvents::Animating;
ConcurrentEvent<Vexel::Rectangle>& UIManager::BeforeDraw = FrameEvents::BeforeDraw;
ConcurrentEvent<Vexel::Rectangle>& UIManager::AfterDraw = FrameEvents::AfterDraw;

namespace
{
struct RootState
{
    Color clearColor = Color(0, 0, 0, 255);
    Vector3 tilt;
    bool uiFlag = false;
    std::map<int, std::vector<Element*>> layers; // attach order within a layer
    std::map<Element*, int> rootLayer;           // membership means attached
    std::map<Element*, bool> pendingRemovals;    // with the delete-afterwards flag
    std::vector<Element*> snapshot;              // refilled before every walk
};

RootState& GetState()
{
    static RootState state;
    return state;
}

void ArrangeNewRoot(Element* element)
{
    const Vector2 sizes[2] = {Platform::GetScreenSize(), Platform::GetRotatedScreenSize()};
    element->Arrange(0.0f, sizes, Vector2(0.0f, 0.0f));
    element->UpdateTree(0.0f);
}
} // namespace

void UIManager::Initialize(int orientation, bool uiFlag, Color clearColor, bool musicEnabled,
                           bool soundEnabled, int effectVoiceCount, Internal::Events** events,
                           Internal::Input** input)
{
    Audio::Music::Initialize(musicEnabled);
    Audio::SoundEffects::Initialize(effectVoiceCount, soundEnabled);
    GetState().uiFlag = uiFlag;
    SetOrientation(orientation, 0.0f);
    SetClearColor(clearColor);
    InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
    if (events)
        *events = &core;
    if (input)
        *input = &core;
}

void UIManager::SetClearColor(Color color)
{
    GetState().clearColor = color;
}
Color UIManager::GetClearColor()
{
    return GetState().clearColor;
}
bool UIManager::GetUIFlag()
{
    return GetState().uiFlag;
}
Vector3* UIManager::GetTilt()
{
    return &GetState().tilt;
}

void UIManager::AttachElement(Element* element, int layer)
{
    if (!element)
        return;
    RootState& state = GetState();
    state.pendingRemovals.erase(element);
    if (IsAttached(element))
        DetachElement(element);
    state.rootLayer[element] = layer;
    state.layers[layer].push_back(element);
    ArrangeNewRoot(element);
}

void UIManager::DetachElement(Element* element)
{
    RootState& state = GetState();
    auto root = state.rootLayer.find(element);
    const int layer = root == state.rootLayer.end() ? 0 : root->second;
    auto found = state.layers.find(layer);
    if (found != state.layers.end())
    {
        std::vector<Element*>& roots = found->second;
        auto position = std::find(roots.begin(), roots.end(), element);
        if (position != roots.end())
            roots.erase(position);
    }
    if (root != state.rootLayer.end())
        state.rootLayer.erase(root);
}

void UIManager::RemoveElement(Element* element, bool deleteAfter)
{
    if (!IsAttached(element))
        return;
    // emplace keeps the flag of an earlier request.
    GetState().pendingRemovals.emplace(element, deleteAfter);
}

void UIManager::ReplaceElement(Element* old, Element* replacement, bool deleteOld)
{
    RootState& state = GetState();
    auto root = state.rootLayer.find(old);
    AttachElement(replacement, root == state.rootLayer.end() ? 0 : root->second);
    RemoveElement(old, deleteOld);
}

void UIManager::ProcessRemovals()
{
    RootState& state = GetState();
    if (state.pendingRemovals.empty())
        return;
    std::vector<Element*> ready;
    for (auto const& pending : state.pendingRemovals)
        if (!pending.first->IsTransitioning())
            ready.push_back(pending.first);
    for (Element* element : ready)
    {
        // A destructor run below may have changed the pending set.
        auto pending = state.pendingRemovals.find(element);
        if (pending == state.pendingRemovals.end())
            continue;
        const bool deleteAfter = pending->second;
        state.pendingRemovals.erase(pending);
        DetachElement(element);
        if (deleteAfter)
            delete element;
    }
}

bool UIManager::IsAttached(Element* element)
{
    RootState& state = GetState();
    return state.rootLayer.find(element) != state.rootLayer.end();
}

bool UIManager::IsMarkedForRemoval(Element* element)
{
    RootState& state = GetState();
    return state.pendingRemovals.find(element) != state.pendingRemovals.end();
}

int UIManager::GetElementLayer(Element* element)
{
    RootState& state = GetState();
    auto root = state.rootLayer.find(element);
    return root == state.rootLayer.end() ? kDetachedLayer : root->second;
}

int UIManager::GetRootCount()
{
    size_t count = 0;
    for (auto const& layer : GetState().layers)
        count += layer.second.size();
    return int(count);
}

int UIManager::GetLayerRootCount(int layer)
{
    RootState& state = GetState();
    auto found = state.layers.find(layer);
    return found == state.layers.end() ? 0 : int(found->second.size());
}

void UIManager::CollectRoots()
{
    RootState& state = GetState();
    state.snapshot.clear();
    state.snapshot.reserve(state.rootLayer.size());
    for (auto const& layer : state.layers)
        state.snapshot.insert(state.snapshot.end(), layer.second.begin(), layer.second.end());
}

Element* const* UIManager::GetRootSnapshot(int* count)
{
    RootState& state = GetState();
    if (count)
        *count = int(state.snapshot.size());
    return state.snapshot.data();
}

bool UIManager::InjectTouchDown(int id, Vector2 const& position, int tapCount)
{
    return InternalUIManagerEventCore::Instance().TouchDown(id, TouchPoint(position, position, tapCount));
}

void UIManager::InjectTouchMove(int id, Vector2 const& position)
{
    InternalUIManagerEventCore::Instance().TouchMove(id, TouchPoint(position, position, 0));
}

void UIManager::InjectTouchUp(int id, Vector2 const& position, int tapCount)
{
    InternalUIManagerEventCore::Instance().TouchUp(id, TouchPoint(position, position, tapCount));
}

} // namespace UI
} // namespace Vexel
