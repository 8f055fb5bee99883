// Multicast events. Each subscription is an Action bound to a member function
// of its target object, and the target is the key: one subscription per
// target, a later one replaces the earlier in the same slot. Handlers are
// called in subscription order.
#pragma once

#include "engine/core/Delegate.h"
#include "engine/core/Mutex.h"

#include <list>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Vexel
{

namespace EventDetail
{
// Subscriptions in insertion order with a lookup by target.
template <class TAction> class SubscriberMap
{
public:
    void Set(const TAction& action)
    {
        void* key = action.GetMethod() ? action.GetMethod()->GetTarget() : nullptr;
        auto found = index.find(key);
        if (found != index.end())
        {
            found->second->second = action;
            return;
        }
        entries.emplace_back(key, action);
        index.emplace(key, std::prev(entries.end()));
    }

    void Remove(const void* key)
    {
        auto found = index.find(const_cast<void*>(key));
        if (found == index.end())
            return;
        entries.erase(found->second);
        index.erase(found);
    }

    TAction* Find(void* key)
    {
        auto found = index.find(key);
        return found == index.end() ? nullptr : &found->second->second;
    }

    void CopyKeys(std::vector<void*>& keys) const
    {
        keys.reserve(entries.size());
        for (const auto& entry : entries)
            keys.push_back(entry.first);
    }

    size_t Count() const { return entries.size(); }

private:
    std::list<std::pair<void*, TAction>> entries;
    std::unordered_map<void*, typename std::list<std::pair<void*, TAction>>::iterator> index;
};

// Calls every subscriber in a snapshot of the keys taken before the first
// call: a target subscribed during the raise waits for the next one, and a
// target removed before its turn is skipped.
template <class TAction, class... Args> void RaiseOn(SubscriberMap<TAction>& map, Args&... args)
{
    std::vector<void*> keys;
    map.CopyKeys(keys);
    for (void* key : keys)
    {
        TAction* action = map.Find(key);
        if (action)
            action->Invoke(args...);
    }
}
} // namespace EventDetail

template <class A1 = ActionDelegateImpl::ParamNullType, class A2 = ActionDelegateImpl::ParamNullType,
          class A3 = ActionDelegateImpl::ParamNullType>
class Event
{
public:
    using ActionType = Action<A1, A2, A3>;

    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Subscribe(const ActionType& action)
    {
        if (!action.IsBound())
            return;
        if (!map)
            map.reset(new EventDetail::SubscriberMap<ActionType>());
        map->Set(action);
    }

    template <class TTarget> void Unsubscribe(TTarget* target)
    {
        if (map)
            map->Remove(static_cast<const void*>(target));
    }

    template <class... Args> void Raise(Args&&... args)
    {
        if (map)
            EventDetail::RaiseOn(*map, args...);
    }

    template <class... Args> void operator()(Args&&... args) { Raise(std::forward<Args>(args)...); }

    size_t SubscriberCount() const { return map ? map->Count() : 0; }

private:
    std::unique_ptr<EventDetail::SubscriberMap<ActionType>> map; // null until the first subscription
};

// The same behaviour with every operation under a recursive mutex that is
// held while the handlers run: a handler may subscribe, unsubscribe or raise
// the same event again on its own thread.
template <class A1 = ActionDelegateImpl::ParamNullType, class A2 = ActionDelegateImpl::ParamNullType,
          class A3 = ActionDelegateImpl::ParamNullType>
class ConcurrentEvent
{
public:
    using ActionType = Action<A1, A2, A3>;

    ConcurrentEvent() = default;
    ConcurrentEvent(const ConcurrentEvent&) = delete;
    ConcurrentEvent& operator=(const ConcurrentEvent&) = delete;

    void Subscribe(const ActionType& action)
    {
        if (!action.IsBound())
            return;
        Threading::ScopedLock<Threading::RecursiveMutex> guard(lock);
        if (!map)
            map.reset(new EventDetail::SubscriberMap<ActionType>());
        map->Set(action);
    }

    template <class TTarget> void Unsubscribe(TTarget* target)
    {
        Threading::ScopedLock<Threading::RecursiveMutex> guard(lock);
        if (map)
            map->Remove(static_cast<const void*>(target));
    }

    template <class... Args> void Raise(Args&&... args)
    {
        Threading::ScopedLock<Threading::RecursiveMutex> guard(lock);
        if (map)
            EventDetail::RaiseOn(*map, args...);
    }

    template <class... Args> void operator()(Args&&... args) { Raise(std::forward<Args>(args)...); }

    size_t SubscriberCount()
    {
        Threading::ScopedLock<Threading::RecursiveMutex> guard(lock);
        return map ? map->Count() : 0;
    }

private:
    std::unique_ptr<EventDetail::SubscriberMap<ActionType>> map;
    Threading::RecursiveMutex lock;
};

// Keeps the subscription order explicitly; used by the UDP exchange.
template <class A1 = ActionDelegateImpl::ParamNullType, class A2 = ActionDelegateImpl::ParamNullType,
          class A3 = ActionDelegateImpl::ParamNullType>
class OrderedEvent : public Event<A1, A2, A3>
{
};

} // namespace Vexel
