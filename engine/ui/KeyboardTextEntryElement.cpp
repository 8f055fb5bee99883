// Hardware-keyboard text input.
#include "engine/ui/KeyboardTextEntryElement.h"

#include "engine/ui/ITextEntryListener.h"
#include "engine/ui/TextInputRegistry.h"

#include <vector>

using Vexel::UI::ITextEntryListener;

namespace
{
const unsigned char kBackspace = 8;
const unsigned char kEnter = 13;
const unsigned char kDelete = 127;
} // namespace

struct KeyboardTextEntryElement::Impl
{
    std::set<ITextEntryListener*> listeners;
    bool focusable = false;
    std::string text;
    std::string prompt;            // kept for the owner
    bool* destroyedFlag = nullptr; // set while listeners are being told
};

KeyboardTextEntryElement::KeyboardTextEntryElement(char const* initialText) : impl(new Impl())
{
    if (initialText)
        impl->text = initialText;
    Vexel::UI::RegisterTextInput(this);
}

KeyboardTextEntryElement::~KeyboardTextEntryElement()
{
    if (impl->destroyedFlag)
        *impl->destroyedFlag = true;
    SetFocused(false);
    Vexel::UI::UnregisterTextInput(this);
    delete impl;
}

void KeyboardTextEntryElement::AddListener(ITextEntryListener* listener)
{
    if (listener)
        impl->listeners.insert(listener);
}

void KeyboardTextEntryElement::RemoveListener(ITextEntryListener* listener)
{
    impl->listeners.erase(listener);
}

std::set<ITextEntryListener*> const& KeyboardTextEntryElement::GetListeners() const
{
    return impl->listeners;
}

void KeyboardTextEntryElement::SetFocused(bool focused)
{
    impl->focusable = focused;
    if (focused)
        Vexel::UI::SetFocusedTextInput(this);
    Vexel::UI::RefreshTextFocus();
}

bool KeyboardTextEntryElement::IsFocused() const
{
    return Vexel::UI::GetFocusedTextInput() == this;
}

void KeyboardTextEntryElement::SetEntryPosition(Vector2) {}
void KeyboardTextEntryElement::SetEntrySize(Vector2) {}
void KeyboardTextEntryElement::SetEntryColor(uint32_t) {}
void KeyboardTextEntryElement::SetEntryStyle(int32_t) {}

void KeyboardTextEntryElement::SetText(std::string const& text)
{
    impl->text = text;
}
std::string KeyboardTextEntryElement::GetText() const
{
    return impl->text;
}
void KeyboardTextEntryElement::SetPrompt(std::string const& prompt)
{
    impl->prompt = prompt;
}
std::string KeyboardTextEntryElement::GetPrompt() const
{
    return impl->prompt;
}
bool KeyboardTextEntryElement::IsFocusable() const
{
    return impl->focusable;
}

void KeyboardTextEntryElement::HandleKey(unsigned char ch)
{
    switch (ch)
    {
    case kEnter:
    {
        // A listener may remove listeners or delete this input.
        const std::vector<ITextEntryListener*> listeners(impl->listeners.begin(), impl->listeners.end());
        bool destroyed = false;
        bool* outer = impl->destroyedFlag;
        impl->destroyedFlag = &destroyed;
        for (ITextEntryListener* listener : listeners)
        {
            if (impl->listeners.count(listener) == 0)
                continue;
            listener->OnTextCommitted();
            if (destroyed)
            {
                if (outer)
                    *outer = true;
                return;
            }
        }
        impl->destroyedFlag = outer;
        break;
    }
    case kBackspace:
        if (!impl->text.empty())
            impl->text.pop_back();
        break;
    case kDelete:
        break;
    default:
        impl->text.push_back(char(ch));
        break;
    }
}

namespace Vexel
{
namespace UI
{

KeyboardTextEntryElement* CreateKeyboardTextEntry(Vector2, Vector2, float, int32_t, char const* initialText,
                                                  int32_t, bool, int32_t)
{
    return new KeyboardTextEntryElement(initialText);
}

} // namespace UI
} // namespace Vexel
