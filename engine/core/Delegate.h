// Single-cast delegates: Vexel::Action (no result) and Vexel::Func (with a
// result). A delegate is empty or bound to one (object, member function) pair;
// it owns only its small handler object, never the target.
#pragma once

#include <utility>

namespace Vexel
{

namespace DelegateDetail
{
// The used parameters of a delegate, with the trailing placeholders removed.
template <class... P> struct TypeList
{
};

template <class Null, class A1, class A2, class A3> struct UsedParams
{
    using Type = TypeList<A1, A2, A3>;
};
template <class Null, class A1, class A2> struct UsedParams<Null, A1, A2, Null>
{
    using Type = TypeList<A1, A2>;
};
template <class Null, class A1> struct UsedParams<Null, A1, Null, Null>
{
    using Type = TypeList<A1>;
};
template <class Null> struct UsedParams<Null, Null, Null, Null>
{
    using Type = TypeList<>;
};
} // namespace DelegateDetail

namespace ActionDelegateImpl
{
struct ParamNullType
{
};

template <class List> class MethodBaseFor;

// The handler interface: invoke, clone and report the bound target.
template <class... P> class MethodBaseFor<DelegateDetail::TypeList<P...>>
{
public:
    virtual ~MethodBaseFor() = default;
    virtual void Invoke(P...) {}
    virtual MethodBaseFor* Clone() const { return nullptr; }
    virtual void* GetTarget() const { return nullptr; }
};

template <class A1 = ParamNullType, class A2 = ParamNullType, class A3 = ParamNullType>
using MethodBase = MethodBaseFor<typename DelegateDetail::UsedParams<ParamNullType, A1, A2, A3>::Type>;

template <class TTarget, class TMethod, class List> class MethodHandlerFor;

// The only concrete handler. TTarget may be a derived class of the class that
// declares TMethod.
template <class TTarget, class TMethod, class... P>
class MethodHandlerFor<TTarget, TMethod, DelegateDetail::TypeList<P...>> final
    : public MethodBaseFor<DelegateDetail::TypeList<P...>>
{
public:
    using Base = MethodBaseFor<DelegateDetail::TypeList<P...>>;

    MethodHandlerFor(TTarget target, TMethod method) : target(target), method(method) {}

    void Invoke(P... args) override { (target->*method)(std::forward<P>(args)...); }
    Base* Clone() const override { return new MethodHandlerFor(target, method); }
    void* GetTarget() const override { return const_cast<void*>(static_cast<const void*>(target)); }

private:
    TTarget target;
    TMethod method;
};

template <class TTarget, class TMethod, class A1 = ParamNullType, class A2 = ParamNullType,
          class A3 = ParamNullType>
using MethodHandler =
    MethodHandlerFor<TTarget, TMethod, typename DelegateDetail::UsedParams<ParamNullType, A1, A2, A3>::Type>;

// Owns the handler; copying clones it, so no two delegates share one.
template <class TMethodBase> class ActionBase
{
public:
    ActionBase() = default;
    ActionBase(const ActionBase& other) : handler(other.handler ? other.handler->Clone() : nullptr) {}
    ActionBase& operator=(const ActionBase& other)
    {
        // Clone first: assigning a delegate to itself must not use a freed handler.
        TMethodBase* copy = other.handler ? other.handler->Clone() : nullptr;
        delete handler;
        handler = copy;
        return *this;
    }
    virtual ~ActionBase() { delete handler; }

    TMethodBase* GetMethod() const { return handler; }

protected:
    void Replace(TMethodBase* fresh)
    {
        delete handler;
        handler = fresh;
    }

    TMethodBase* handler = nullptr;
};
} // namespace ActionDelegateImpl

// A delegate returning nothing, with up to three parameters.
template <class A1 = ActionDelegateImpl::ParamNullType, class A2 = ActionDelegateImpl::ParamNullType,
          class A3 = ActionDelegateImpl::ParamNullType>
class Action : public ActionDelegateImpl::ActionBase<ActionDelegateImpl::MethodBase<A1, A2, A3>>
{
    using Params = typename DelegateDetail::UsedParams<ActionDelegateImpl::ParamNullType, A1, A2, A3>::Type;

public:
    Action() = default;
    template <class TTarget, class TMethod> Action(TTarget target, TMethod method) { Bind(target, method); }
    Action(const Action&) = default;
    Action& operator=(const Action&) = default;
    ~Action() override = default;

    template <class TTarget, class TMethod> void Bind(TTarget target, TMethod method)
    {
        this->Replace(nullptr);
        this->Replace(new ActionDelegateImpl::MethodHandlerFor<TTarget, TMethod, Params>(target, method));
    }

    bool IsBound() const { return this->handler != nullptr; }

    // An empty delegate does nothing.
    template <class... Args> void Invoke(Args&&... args) const
    {
        if (this->handler)
            this->handler->Invoke(std::forward<Args>(args)...);
    }
};

namespace FuncDelegateImpl
{
struct ParamNullType
{
};

template <class R, class List> class MethodBaseFor;

template <class R, class... P> class MethodBaseFor<R, DelegateDetail::TypeList<P...>>
{
public:
    virtual ~MethodBaseFor() = default;
    virtual R Invoke(P...) { return R(); }
    virtual MethodBaseFor* Clone() const { return nullptr; }
};

template <class R, class A1 = ParamNullType, class A2 = ParamNullType, class A3 = ParamNullType>
using MethodBase = MethodBaseFor<R, typename DelegateDetail::UsedParams<ParamNullType, A1, A2, A3>::Type>;

template <class TTarget, class TMethod, class R, class List> class MethodHandlerFor;

template <class TTarget, class TMethod, class R, class... P>
class MethodHandlerFor<TTarget, TMethod, R, DelegateDetail::TypeList<P...>> final
    : public MethodBaseFor<R, DelegateDetail::TypeList<P...>>
{
public:
    using Base = MethodBaseFor<R, DelegateDetail::TypeList<P...>>;

    MethodHandlerFor(TTarget target, TMethod method) : target(target), method(method) {}

    R Invoke(P... args) override { return (target->*method)(std::forward<P>(args)...); }
    Base* Clone() const override { return new MethodHandlerFor(target, method); }

private:
    TTarget target;
    TMethod method;
};

template <class TTarget, class TMethod, class R, class A1 = ParamNullType, class A2 = ParamNullType,
          class A3 = ParamNullType>
using MethodHandler =
    MethodHandlerFor<TTarget, TMethod, R, typename DelegateDetail::UsedParams<ParamNullType, A1, A2, A3>::Type>;

template <class TMethodBase> using FuncBase = ActionDelegateImpl::ActionBase<TMethodBase>;
} // namespace FuncDelegateImpl

// A delegate returning R, with up to three parameters. Callers that may hold
// an empty Func test IsBound before invoking it.
template <class R, class A1 = FuncDelegateImpl::ParamNullType, class A2 = FuncDelegateImpl::ParamNullType,
          class A3 = FuncDelegateImpl::ParamNullType>
class Func : public FuncDelegateImpl::FuncBase<FuncDelegateImpl::MethodBase<R, A1, A2, A3>>
{
    using Params = typename DelegateDetail::UsedParams<FuncDelegateImpl::ParamNullType, A1, A2, A3>::Type;

public:
    Func() = default;
    template <class TTarget, class TMethod> Func(TTarget target, TMethod method) { Bind(target, method); }
    Func(const Func&) = default;
    Func& operator=(const Func&) = default;
    ~Func() override = default;

    template <class TTarget, class TMethod> void Bind(TTarget target, TMethod method)
    {
        this->Replace(nullptr);
        this->Replace(new FuncDelegateImpl::MethodHandlerFor<TTarget, TMethod, R, Params>(target, method));
    }

    bool IsBound() const { return this->handler != nullptr; }

    // An empty Func returns a value-initialised R rather than crashing.
    template <class... Args> R Invoke(Args&&... args) const
    {
        if (!this->handler)
            return R();
        return this->handler->Invoke(std::forward<Args>(args)...);
    }
};

} // namespace Vexel
