// Turns a keyboard symbol and its modifier mask into a character.
#pragma once

namespace Vexel
{
namespace UI
{

struct KeyModifier
{
    enum Enum
    {
        LeftShift = 0x0001,
        RightShift = 0x0002,
        Shift = 0x0003,
        CapsLock = 0x2000,
    };
};

// Symbols outside 0..255 give -1. Shift maps letters to upper case and the
// US-layout digits and punctuation to their shifted characters; Caps Lock
// maps letters only; Shift wins over Caps Lock. Anything else is the symbol.
int TranslateKey(int symbol, int modifiers);

} // namespace UI
} // namespace Vexel
