// Multicast events. Each subscription is an Action bound to a member function
// of its target object, and the target is the key: one subscription per
// target, a later one replaces the earlier in the same slot. Handlers are
// called in subscription order.
#pragma once

#include "engine/core/Delegate.h"
#include "engine/core/Mutex.h"

#include <condition_variable>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Vexel
{

namespace EventDetail
{
// The key of a subscription: the target object of its handler.
template <class TAction> void* KeyOf(const TAction& action)
{
    return action.GetMethod() ? action.GetMethod()->GetTarget() : nullptr;
}

// Subscriptions in insertion order with a lookup by target.
template <class TValue> class SubscriberMap
{
public:
    // A value under a key already present replaces it in the same slot.
    void Set(void* key, const TValue& value)
    {
        auto found = index.find(key);
        if (found != index.end())
        {
            found->second->second = value;
            return;
        }
        entries.emplace_back(key, value);
        index.emplace(key, std::prev(entries.end()));
    }

    // False when the key is not present; else the value is moved to removed
    // (when given) and its entry dropped.
    bool Remove(const void* key, TValue* removed = nullptr)
    {
        auto found = index.find(const_cast<void*>(key));
        if (found == index.end())
            return false;
        if (removed)
            *removed = std::move(found->second->second);
        entries.erase(found->second);
        index.erase(found);
        return true;
    }

    TValue* Find(void* key)
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
    std::list<std::pair<void*, TValue>> entries;
    std::unordered_map<void*, typename std::list<std::pair<void*, TValue>>::iterator> index;
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
        map->Set(EventDetail::KeyOf(action), action);
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

// The same behaviour for events that several threads share (the frame and
// lifecycle events). The event's lock is held only for a moment inside each
// operation and never while a handler runs, so a handler may subscribe,
// unsubscribe or raise this event or any other on any thread, and no two
// events' locks are ever taken in opposite orders. Contract:
// - A raise calls the targets subscribed when it began, in subscription
//   order, each with the handler subscribed under it when its turn comes;
//   a target removed before its turn is not called.
// - Unsubscribe returns only when no other thread is still running the
//   removed handler, so its target may be destroyed right after. Removing
//   a handler that runs on the calling thread (itself, or one it is nested
//   in) returns at once.
// - Raises on different threads may run handlers at the same time.
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
        std::lock_guard<std::mutex> guard(lock);
        if (!map)
            map.reset(new Map());
        map->Set(EventDetail::KeyOf(action), std::make_shared<Subscription>(action));
    }

    template <class TTarget> void Unsubscribe(TTarget* target)
    {
        std::unique_lock<std::mutex> guard(lock);
        std::shared_ptr<Subscription> removed;
        if (!map || !map->Remove(static_cast<const void*>(target), &removed))
            return;
        const std::thread::id self = std::this_thread::get_id();
        ++waiters;
        callEnded.wait(guard, [&] { return !removed->IsCalledByOtherThan(self); });
        --waiters;
    }

    template <class... Args> void Raise(Args&&... args)
    {
        std::vector<void*> keys;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (!map)
                return;
            map->CopyKeys(keys);
        }
        const std::thread::id self = std::this_thread::get_id();
        for (void* key : keys)
        {
            std::shared_ptr<Subscription> subscription;
            {
                std::lock_guard<std::mutex> guard(lock);
                std::shared_ptr<Subscription>* found = map->Find(key);
                if (!found)
                    continue;
                subscription = *found;
                subscription->callers.push_back(self);
            }
            subscription->action.Invoke(args...);
            {
                std::lock_guard<std::mutex> guard(lock);
                subscription->EndCall(self);
                if (waiters > 0)
                    callEnded.notify_all();
            }
        }
    }

    template <class... Args> void operator()(Args&&... args) { Raise(std::forward<Args>(args)...); }

    size_t SubscriberCount()
    {
        std::lock_guard<std::mutex> guard(lock);
        return map ? map->Count() : 0;
    }

private:
    // One subscription, shared with the raises that are calling it. A
    // replacement under the same target is a new subscription.
    struct Subscription
    {
        explicit Subscription(const ActionType& action) : action(action) {}

        bool IsCalledByOtherThan(std::thread::id thread) const
        {
            for (const std::thread::id& caller : callers)
                if (caller != thread)
                    return true;
            return false;
        }
        void EndCall(std::thread::id thread)
        {
            for (size_t i = callers.size(); i-- > 0;)
                if (callers[i] == thread)
                {
                    callers.erase(callers.begin() + std::ptrdiff_t(i));
                    return;
                }
        }

        const ActionType action;
        std::vector<std::thread::id> callers; // one entry per call under way; under the lock
    };
    using Map = EventDetail::SubscriberMap<std::shared_ptr<Subscription>>;

    std::unique_ptr<Map> map; // null until the first subscription
    std::mutex lock;          // guards map, every Subscription's callers and waiters
    std::condition_variable callEnded;
    int waiters = 0; // Unsubscribe calls waiting for a call on another thread to end
};

// Keeps the subscription order explicitly; used by the UDP exchange.
template <class A1 = ActionDelegateImpl::ParamNullType, class A2 = ActionDelegateImpl::ParamNullType,
          class A3 = ActionDelegateImpl::ParamNullType>
class OrderedEvent : public Event<A1, A2, A3>
{
};

} // namespace Vexel
