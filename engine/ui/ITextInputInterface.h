// A text input fed with characters typed on a hardware keyboard. Every input
// registers itself in the process-wide registry (TextInputRegistry.h), from
// which the one focused input is chosen; the shell hands it each accepted
// key character through HandleKey.
#pragma once

#include "engine/core/Vector2.h"

#include <cstdint>
#include <set>
#include <string>

namespace Vexel
{
namespace UI
{

class ITextEntryListener;

class ITextInputInterface
{
public:
    virtual ~ITextInputInterface() = default;

    // Listeners are not owned.
    virtual void AddListener(ITextEntryListener* listener) = 0;
    virtual void RemoveListener(ITextEntryListener* listener) = 0;
    virtual std::set<ITextEntryListener*> const& GetListeners() const = 0;
    // Makes the input focusable (and focused) or takes both away.
    virtual void SetFocused(bool focused) = 0;
    virtual bool IsFocused() const = 0;
    // Placement and style of an on-screen entry; a hardware-keyboard input
    // has none and ignores them.
    virtual void SetEntryPosition(Vector2 position) = 0;
    virtual void SetEntrySize(Vector2 size) = 0;
    virtual void SetEntryColor(uint32_t color) = 0;
    virtual void SetEntryStyle(int32_t style) = 0;
    virtual void SetText(std::string const& text) = 0;
    virtual std::string GetText() const = 0;
    virtual void SetPrompt(std::string const& prompt) = 0;
    virtual std::string GetPrompt() const = 0;
    // One character: 8 is Backspace, 13 Enter (commits), 127 is ignored.
    virtual void HandleKey(unsigned char ch) = 0;
    // Whether focus may rest on this input.
    virtual bool IsFocusable() const = 0;
};

} // namespace UI
} // namespace Vexel
