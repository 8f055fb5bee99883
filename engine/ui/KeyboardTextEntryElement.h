// The text input for a hardware keyboard: edits a string with the characters
// it receives and tells its listeners when Enter is pressed. It registers
// itself on construction and unregisters (passing the focus on) when
// destroyed. No length limit.
#pragma once

#include "engine/ui/ITextInputInterface.h"

class KeyboardTextEntryElement : public Vexel::UI::ITextInputInterface
{
public:
    explicit KeyboardTextEntryElement(char const* initialText);
    ~KeyboardTextEntryElement() override;

    KeyboardTextEntryElement(KeyboardTextEntryElement const&) = delete;
    KeyboardTextEntryElement& operator=(KeyboardTextEntryElement const&) = delete;

    void AddListener(Vexel::UI::ITextEntryListener* listener) override;
    void RemoveListener(Vexel::UI::ITextEntryListener* listener) override;
    std::set<Vexel::UI::ITextEntryListener*> const& GetListeners() const override;
    void SetFocused(bool focused) override;
    bool IsFocused() const override;
    void SetEntryPosition(Vector2 position) override;
    void SetEntrySize(Vector2 size) override;
    void SetEntryColor(uint32_t color) override;
    void SetEntryStyle(int32_t style) override;
    void SetText(std::string const& text) override;
    std::string GetText() const override;
    void SetPrompt(std::string const& prompt) override;
    std::string GetPrompt() const override;
    void HandleKey(unsigned char ch) override;
    bool IsFocusable() const override;

    struct Impl;

private:
    Impl* impl;
};

namespace Vexel
{
namespace UI
{

// Only the initial text is used (null is an empty text); the placement and
// style arguments are for on-screen entries.
KeyboardTextEntryElement* CreateKeyboardTextEntry(Vector2 position, Vector2 size, float fontSize,
                                                  int32_t color, char const* initialText, int32_t maxLength,
                                                  bool secure, int32_t keyboardType);

} // namespace UI
} // namespace Vexel
