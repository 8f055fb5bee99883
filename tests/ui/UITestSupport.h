// Shared helpers of the UI tests: a fixture that leaves the process-wide UI
// state as it found it, and elements that record what happens to them.
#pragma once

#include "engine/core/Platform.h"
#include "engine/ui/Element.h"
#include "engine/ui/InternalUIManagerEventCore.h"
#include "engine/ui/UIManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace UITest
{

const float kFrame = 1.0f / 30.0f;

// Portrait orientation, 320 x 480 screen, no roots, no captures.
inline void ResetUIState()
{
    using Vexel::UI::UIManager;
    Vexel::Platform::SetScreenMetrics(320, 480, Vector2(0.0f, 0.0f));
    UIManager::SetOrientation(1, 0.0f);
    UIManager::CollectRoots();
    int count = 0;
    Vexel::UI::Element* const* roots = UIManager::GetRootSnapshot(&count);
    std::vector<Vexel::UI::Element*> attached(roots, roots + count);
    for (Vexel::UI::Element* root : attached)
    {
        // Attaching again cancels a pending removal, so that no later test
        // runs it on an element that is gone.
        if (UIManager::IsMarkedForRemoval(root))
            UIManager::AttachElement(root, 0);
        UIManager::DetachElement(root);
    }
    UIManager::CollectRoots();
    *UIManager::GetTilt() = Vector3();
}

class UIFixture : public ::testing::Test
{
protected:
    void SetUp() override { ResetUIState(); }
    void TearDown() override { ResetUIState(); }
};

inline Vexel::UI::ElementLayout Box(float x, float y, float w, float h, uint32_t alignment = 5)
{
    return Vexel::UI::ElementLayout(Vexel::UI::ElementPosition(Vector2(x, y), alignment), Vector2(w, h));
}

// Logs hooks into a shared list as "name" entries.
class LoggingElement : public Vexel::UI::Element
{
public:
    LoggingElement(std::string name, Vexel::UI::ElementLayout layout, int touchMode,
                   std::vector<std::string>* log = nullptr)
        : Element(layout, touchMode), name(std::move(name)), log(log)
    {
    }
    ~LoggingElement() override { Note("~"); }

    void Update(float) override { Note("Update"); }
    void Draw(Vexel::Rectangle, float) override { Note("Draw"); }
    void OnLayout() override { Note("OnLayout"); }
    void DrawBegin(Vexel::Rectangle, float) override { Note("DrawBegin"); }
    void DrawEnd(Vexel::Rectangle, float) override { Note("DrawEnd"); }
    void OnTouchDown(Vector2 const&, int) override { Note("OnTouchDown"); }
    void OnTouchMove(Vector2 const&) override { Note("OnTouchMove"); }
    void OnTouchUp(Vector2 const&, int) override { Note("OnTouchUp"); }
    void OnTap(Vector2 const&, int) override { Note("OnTap"); }
    void OnClick(Vector2 const&) override { Note("OnClick"); }

    void Note(char const* what)
    {
        if (log)
            log->push_back(name + ":" + what);
    }

    std::string name;
    std::vector<std::string>* log;
};

} // namespace UITest
