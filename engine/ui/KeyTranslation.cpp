// Key symbol to character translation (US layout).
#include "engine/ui/KeyTranslation.h"

#include <map>

namespace Vexel
{
namespace UI
{

namespace
{
struct KeyMaps
{
    std::map<int, int> capsLock;
    std::map<int, int> shift;

    KeyMaps()
    {
        for (int letter = 'a'; letter <= 'z'; ++letter)
        {
            capsLock[letter] = letter - 32;
            shift[letter] = letter - 32;
        }
        static const int kShiftPairs[][2] = {
            {96, 126}, {49, 33},  {50, 64}, {51, 35}, {52, 36}, {53, 37}, {54, 94},
            {55, 38},  {56, 42},  {57, 40}, {48, 41}, {45, 95}, {61, 43}, {91, 123},
            {93, 125}, {92, 124}, {59, 58}, {39, 34}, {44, 60}, {46, 62}, {47, 63},
        };
        for (auto const& pair : kShiftPairs)
            shift[pair[0]] = pair[1];
    }
};
} // namespace

int TranslateKey(int symbol, int modifiers)
{
    if (symbol < 0 || symbol > 255)
        return -1;
    static const KeyMaps maps;
    if (modifiers & KeyModifier::Shift)
    {
        auto found = maps.shift.find(symbol);
        if (found != maps.shift.end())
            return found->second;
    }
    if (modifiers & KeyModifier::CapsLock)
    {
        auto found = maps.capsLock.find(symbol);
        if (found != maps.capsLock.end())
            return found->second;
    }
    return symbol;
}

} // namespace UI
} // namespace Vexel
