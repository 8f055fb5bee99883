// The menu beep: every menu button beeps when clicked, and every check button
// when toggled either way, at the pitch of its variant (0: 1.2, 1: 0.8, any
// other: 1.0). One helper for the whole program keeps the variant of each
// attached element until the element is destroyed.
#pragma once

#include "engine/core/Vector2.h"

#include <cstddef>
#include <map>

class UICheckButton;

namespace Vexel
{
namespace UI
{
class Element;
}
} // namespace Vexel

class MenuBeepHelper
{
public:
    // The program's one helper.
    static MenuBeepHelper& Instance();

    // Attaching again replaces the variant.
    void Attach(Vexel::UI::Element* element, int variant);
    // The element's variant, or -1 when it is not attached.
    int GetVariant(Vexel::UI::Element* element) const;
    size_t GetCount() const { return variants.size(); }

    void OnClick(Vexel::UI::Element* element, Vector2 const& position);
    void OnCheckChanged(UICheckButton* button, bool on);
    void OnDestroyed(Vexel::UI::Element* element);

    // The pitch of a beep variant.
    static float Pitch(int variant);

private:
    void Beep(Vexel::UI::Element* element);

    std::map<Vexel::UI::Element*, int> variants;
};

// MenuBeepHelper::Instance().Attach (element, variant).
void AttachMenuBeep(Vexel::UI::Element* element, int variant);
