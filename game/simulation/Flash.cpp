#include "game/simulation/Flash.h"

#include "engine/core/Delegate.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/VectorMath.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <set>

namespace
{

struct FlashValue
{
    Color colour;
    float duration; // seconds
};

class Flasher
{
public:
    Flasher() : clock(0.0f), output(nullptr), subscribed(false) {}

    void Start(Color colour, float duration)
    {
        if (colour.a == 0 || int(colour.r) + int(colour.g) + int(colour.b) == 0 || duration <= 0.0001f)
            return;
        Subscribe();
        // One flash per start time: a second one in the same frame replaces it.
        flashes[clock] = FlashValue{colour, duration};
    }

    void AddTint(FlashTint* tint)
    {
        if (tint == nullptr)
            return;
        Subscribe();
        tints.insert(tint);
    }

    void RemoveTint(FlashTint* tint) { tints.erase(tint); }

    void OnUpdate(float dt)
    {
        const Color colour = Compute();
        if (output != nullptr)
            output(colour);
        if (flashes.empty())
            clock = 0.0f;
        else
            clock += dt;
        while (!flashes.empty() && flashes.begin()->first <= clock - flashes.begin()->second.duration)
            flashes.erase(flashes.begin());
    }

    Color Compute() const
    {
        uint32_t r = 0, g = 0, b = 0;
        for (auto const& entry : flashes)
        {
            const float t = clock - entry.first;
            if (t < entry.second.duration)
            {
                // A quarter cosine from full alpha to nothing.
                const float f = cosf(t * Vexel::kHalfPi / entry.second.duration);
                Add(Color::ScaleAlpha(entry.second.colour, f), r, g, b);
            }
        }
        for (FlashTint const* tint : tints)
            Add(Color::ScaleAlpha(tint->colour, tint->factor), r, g, b);
        r /= 255;
        g /= 255;
        b /= 255;
        return Color::FromRgba(uint8_t(r > 255 ? 255 : r), uint8_t(g > 255 ? 255 : g),
                               uint8_t(b > 255 ? 255 : b), 255);
    }

    int Count() const { return int(flashes.size()); }

    FlashOutput SetOutput(FlashOutput value)
    {
        FlashOutput previous = output;
        output = value;
        return previous;
    }

    void Reset()
    {
        flashes.clear();
        tints.clear();
        clock = 0.0f;
    }

private:
    static void Add(Color c, uint32_t& r, uint32_t& g, uint32_t& b)
    {
        r += uint32_t(c.r) * c.a;
        g += uint32_t(c.g) * c.a;
        b += uint32_t(c.b) * c.a;
    }

    void Subscribe()
    {
        if (subscribed)
            return;
        Vexel::FrameEvents::Updating.Subscribe(Vexel::Action<float>(this, &Flasher::OnUpdate));
        subscribed = true;
    }

    std::map<float, FlashValue> flashes; // by start time
    float clock;                         // seconds since the first current flash started
    std::set<FlashTint*> tints;
    FlashOutput output;
    bool subscribed;
};

// Never destroyed: the frame event may outlive any static destructor order.
Flasher& GetFlasher()
{
    static Flasher* flasher = new Flasher();
    return *flasher;
}

} // namespace

void Flash(Color colour, float duration)
{
    GetFlasher().Start(colour, duration);
}

void AddTint(FlashTint* tint)
{
    GetFlasher().AddTint(tint);
}

void RemoveTint(FlashTint* tint)
{
    GetFlasher().RemoveTint(tint);
}

void UpdateFlash(float dt)
{
    GetFlasher().OnUpdate(dt);
}

Color GetFlashColour()
{
    return GetFlasher().Compute();
}

int GetActiveFlashCount()
{
    return GetFlasher().Count();
}

FlashOutput SetFlashOutput(FlashOutput output)
{
    return GetFlasher().SetOutput(output);
}

void ResetFlashes()
{
    GetFlasher().Reset();
}
