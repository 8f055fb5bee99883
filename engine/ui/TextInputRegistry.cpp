// Registry and focus of the text inputs.
#include "engine/ui/TextInputRegistry.h"

#include "engine/ui/ITextInputInterface.h"

#include <set>
#include <vector>

namespace Vexel
{
namespace UI
{

namespace
{
struct Registry
{
    std::set<ITextInputInterface*> inputs; // pointer order
    ITextInputInterface* focused = nullptr;
};

Registry& GetRegistry()
{
    static Registry registry;
    return registry;
}
} // namespace

void RegisterTextInput(ITextInputInterface* input)
{
    if (input)
        GetRegistry().inputs.insert(input);
}

void UnregisterTextInput(ITextInputInterface* input)
{
    Registry& registry = GetRegistry();
    registry.inputs.erase(input);
    if (registry.focused == input)
    {
        registry.focused = nullptr;
        RefreshTextFocus();
    }
}

ITextInputInterface* GetFocusedTextInput()
{
    return GetRegistry().focused;
}

void SetFocusedTextInput(ITextInputInterface* input)
{
    GetRegistry().focused = input;
}

void RefreshTextFocus()
{
    Registry& registry = GetRegistry();
    if (registry.focused && !registry.focused->IsFocusable())
        registry.focused = nullptr;
    if (registry.focused)
        return;
    for (ITextInputInterface* input : registry.inputs)
    {
        if (input->IsFocusable())
        {
            registry.focused = input;
            return;
        }
    }
}

void ClearTextFocus()
{
    // A copy: SetFocused runs the focus rules, which read the registry.
    const std::vector<ITextInputInterface*> inputs(GetRegistry().inputs.begin(), GetRegistry().inputs.end());
    for (ITextInputInterface* input : inputs)
        if (IsTextInputRegistered(input))
            input->SetFocused(false);
    RefreshTextFocus();
}

bool IsTextInputRegistered(ITextInputInterface* input)
{
    Registry& registry = GetRegistry();
    return registry.inputs.find(input) != registry.inputs.end();
}

int GetRegisteredTextInputCount()
{
    return int(GetRegistry().inputs.size());
}

} // namespace UI
} // namespace Vexel
