// The member functions of the batch front ends (BatchFrontEnd.h), included
// by the batch sources that instantiate them. Internal to graphics.
#pragma once

#include "engine/graphics/BatchFrontEnd.h"
#include "engine/graphics/LayeredBatch.h"

namespace Vexel
{
namespace Graphics
{

template <class Interface, class Impl> BatchFrontEnd<Interface, Impl>::BatchFrontEnd(Impl* impl) : impl(impl)
{
}

template <class Interface, class Impl> BatchFrontEnd<Interface, Impl>::~BatchFrontEnd()
{
    delete impl;
}

template <class Interface, class Impl> void BatchFrontEnd<Interface, Impl>::Draw()
{
    impl->Draw(IdentityTransform());
}

template <class Interface, class Impl>
void BatchFrontEnd<Interface, Impl>::Draw(Vector2 translation, Vector2 scale)
{
    impl->Draw(Transform2D(translation, scale));
}

template <class Interface, class Impl>
void BatchFrontEnd<Interface, Impl>::DrawUnder(Transform2D const& transform)
{
    impl->Draw(transform);
}

template <class Interface, class Member, class Impl>
LayeredFrontEnd<Interface, Member, Impl>::LayeredFrontEnd() : BatchFrontEnd<Interface, Impl>(new Impl())
{
}

template <class Interface, class Member, class Impl>
bool LayeredFrontEnd<Interface, Member, Impl>::Add(Member* member, int layer)
{
    return this->impl->Add(member, layer);
}

template <class Interface, class Member, class Impl>
bool LayeredFrontEnd<Interface, Member, Impl>::Remove(Member* member)
{
    return this->impl->Remove(member, true);
}

template <class Interface, class Member, class Impl>
bool LayeredFrontEnd<Interface, Member, Impl>::Contains(Member* member) const
{
    return this->impl->Contains(member);
}

template <class Interface, class Member, class Impl>
void LayeredFrontEnd<Interface, Member, Impl>::SetLayerTransform(int layer, Transform2D const& transform)
{
    this->impl->SetLayerTransform(layer, transform);
}

template <class Interface, class Member, class Impl>
void LayeredFrontEnd<Interface, Member, Impl>::ResetLayerTransform(int layer)
{
    this->impl->ResetLayerTransform(layer);
}

template <class Interface, class Member, class Impl>
Transform2D LayeredFrontEnd<Interface, Member, Impl>::GetLayerTransform(int layer) const
{
    return this->impl->GetLayerTransform(layer);
}

} // namespace Graphics
} // namespace Vexel
