#include "engine/audio/ParamFactor.h"

namespace Vexel
{
namespace Audio
{

ParamFactor::~ParamFactor()
{
    Destroyed.Raise(this);
}

ParamFactorSet::~ParamFactorSet()
{
    for (ParamFactor* factor : factors)
        factor->Destroyed.Unsubscribe(this);
}

void ParamFactorSet::Add(ParamFactor* factor)
{
    if (!factor || !factors.insert(factor).second)
        return;
    factor->Destroyed.Subscribe(Action<ParamFactor*>(this, &ParamFactorSet::OnFactorDestroyed));
}

void ParamFactorSet::Remove(ParamFactor* factor)
{
    if (factors.erase(factor) != 0)
        factor->Destroyed.Unsubscribe(this);
}

float ParamFactorSet::GetProduct() const
{
    float product = 1.0f;
    for (ParamFactor* factor : factors)
        product *= factor->GetValue();
    return product;
}

void ParamFactorSet::OnFactorDestroyed(ParamFactor* factor)
{
    factors.erase(factor);
}

} // namespace Audio
} // namespace Vexel
