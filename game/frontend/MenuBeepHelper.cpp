#include "game/frontend/MenuBeepHelper.h"

#include "engine/core/Delegate.h"
#include "engine/ui/Element.h"
#include "game/audio/GameSounds.h"
#include "game/widgets/UICheckButton.h"

MenuBeepHelper& MenuBeepHelper::Instance()
{
    static MenuBeepHelper helper;
    return helper;
}

void MenuBeepHelper::Attach(Vexel::UI::Element* element, int variant)
{
    if (!element)
        return;
    if (UICheckButton* check = dynamic_cast<UICheckButton*>(element))
        check->Toggled.Subscribe(Vexel::Action<UICheckButton*, bool>(this, &MenuBeepHelper::OnCheckChanged));
    else
        element->Clicked.Subscribe(
            Vexel::Action<Vexel::UI::Element*, Vector2 const&>(this, &MenuBeepHelper::OnClick));
    element->Destroyed.Subscribe(Vexel::Action<Vexel::UI::Element*>(this, &MenuBeepHelper::OnDestroyed));
    variants[element] = variant;
}

int MenuBeepHelper::GetVariant(Vexel::UI::Element* element) const
{
    auto found = variants.find(element);
    return found == variants.end() ? -1 : found->second;
}

float MenuBeepHelper::Pitch(int variant)
{
    switch (variant)
    {
    case 0:
        return 1.2f;
    case 1:
        return 0.8f;
    default:
        return 1.0f;
    }
}

void MenuBeepHelper::Beep(Vexel::UI::Element* element)
{
    auto found = variants.find(element);
    if (found != variants.end())
        GameSounds::PlayMenuBeep(found->second);
}

void MenuBeepHelper::OnClick(Vexel::UI::Element* element, Vector2 const&)
{
    Beep(element);
}

// Beeps alike whichever way the button turned.
void MenuBeepHelper::OnCheckChanged(UICheckButton* button, bool)
{
    Beep(button);
}

void MenuBeepHelper::OnDestroyed(Vexel::UI::Element* element)
{
    variants.erase(element);
}

void AttachMenuBeep(Vexel::UI::Element* element, int variant)
{
    MenuBeepHelper::Instance().Attach(element, variant);
}
