// One letter of the name entry: a vertical drum of 82 characters that the
// player spins by dragging up or down (one character per 0.3 of the
// element's height), that coasts after a flick and slows by 5 % a frame, and
// that snaps to the nearest character once it is let go. Every frame it
// writes its character into the player name of the preferences; saving them
// is the page's business. Main thread only.
#pragma once

#include "engine/ui/Element.h"

#include <memory>

class IFlush;

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{
class ITransientBatch;
}
namespace Type
{
class LinotypeBatch;
}
} // namespace Graphics
} // namespace Vexel

class NumberSelectionElement : public Vexel::UI::Element
{
public:
    static const int kAlphabetSize = 82;
    // "A".."Z", "a".."z", "1".."9", "0", then ! @ # $ % ^ & * ( ) - + = _ ` ~ ' " , .
    static const char kAlphabet[kAlphabetSize + 1];
    // The character's index in the alphabet, or -1.
    static int AlphabetIndex(char c);

    // position: which character of the player name (0, 1 or 2) this drum
    // edits; it starts on that character, or on "A" when the name is shorter
    // or holds a character outside the alphabet. The flusher and the batch
    // (the drum's background) are not owned.
    NumberSelectionElement(Vexel::UI::ElementLayout const& layout, int position, IFlush* flusher,
                           Vexel::Graphics::Sprites::ITransientBatch* batch);
    ~NumberSelectionElement() override;

    // Follows the finger, coasts, snaps and writes the player name; the
    // drum moves per frame, so dt is not used.
    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;

    int GetSelected() const { return selected; }
    char GetCharacter() const { return kAlphabet[selected]; }
    // How far the drum is turned from the selected character, in characters
    // (within [-0.5, 0.5]), and its speed in characters per frame.
    float GetOffset() const { return offset; }
    float GetVelocity() const { return velocity; }

private:
    static const int kHistory = 9;

    // Moves whole characters from the offset into the selection.
    void Normalise();

    Vexel::Graphics::Sprites::ITransientBatch* batch;
    IFlush* flusher;
    int position;
    int selected;
    float offset;
    float velocity;
    float history[kHistory]; // touch positions in characters, newest first
    int samples;             // valid history entries
    // One text batch per drum slot, so that each keeps its character until
    // the frame is drawn.
    std::unique_ptr<Vexel::Graphics::Type::LinotypeBatch> glyphs[7];
};
