#include "tools/assetgen/AudioDsp.h"

namespace AssetGen
{
namespace Dsp
{

double Adsr::At(double t, double gate) const
{
    auto held = [this](double u)
    {
        if (u < attack)
            return u / attack;
        u -= attack;
        if (u < decay)
            return 1.0 - (1.0 - sustain) * (u / decay);
        return sustain;
    };
    if (t < 0.0)
        return 0.0;
    if (t < gate)
        return held(t);
    double from = held(gate);
    double u = t - gate;
    if (u >= release)
        return 0.0;
    // An exponential-looking tail that still reaches zero at the end.
    double r = 1.0 - u / release;
    return from * r * r;
}

namespace
{
const int kCombLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int kPassLengths[4] = {556, 441, 341, 225};
const int kSpread = 23;
} // namespace

Reverb::Reverb(double roomSize, double damping) : feedback(roomSize * 0.28 + 0.7), damp(damping * 0.4)
{
    for (int side = 0; side < 2; ++side)
    {
        for (int i = 0; i < 8; ++i)
            combs[side][i].buffer.assign(size_t(kCombLengths[i] + side * kSpread), 0.0);
        for (int i = 0; i < 4; ++i)
            passes[side][i].buffer.assign(size_t(kPassLengths[i] + side * kSpread), 0.0);
    }
}

void Reverb::Process(double in, double& left, double& right)
{
    double input = in * 0.015;
    double out[2];
    for (int side = 0; side < 2; ++side)
    {
        double sum = 0.0;
        for (Comb& c : combs[side])
        {
            double y = c.buffer[c.index];
            c.store = y * (1.0 - damp) + c.store * damp;
            c.buffer[c.index] = input + c.store * feedback;
            if (++c.index == c.buffer.size())
                c.index = 0;
            sum += y;
        }
        for (AllPass& p : passes[side])
        {
            double b = p.buffer[p.index];
            double y = b - sum;
            p.buffer[p.index] = sum + b * 0.5;
            if (++p.index == p.buffer.size())
                p.index = 0;
            sum = y;
        }
        out[side] = sum;
    }
    left = out[0];
    right = out[1];
}

PingPongDelay::PingPongDelay(double seconds, double feedback, double toneHz) : feedback(feedback)
{
    size_t n = size_t(seconds * kRate + 0.5);
    if (n < 1)
        n = 1;
    left.assign(n, 0.0);
    right.assign(n, 0.0);
    toneLeft.Set(toneHz);
    toneRight.Set(toneHz);
}

void PingPongDelay::Process(double inLeft, double inRight, double& outLeft, double& outRight)
{
    double l = left[index], r = right[index];
    // Each echo crosses to the other side; the input enters on the left.
    left[index] = toneLeft.LowPass(inLeft + inRight + r * feedback);
    right[index] = toneRight.LowPass(l * feedback);
    if (++index == left.size())
        index = 0;
    outLeft = l;
    outRight = r;
}

} // namespace Dsp
} // namespace AssetGen
