// A hash map under a (non-recursive) mutex, shared between a producer thread
// and the main thread, or between loaders. Values are usually pointers; the
// dictionary deletes them only where an operation says so.
#pragma once

#include "engine/core/Delegate.h"
#include "engine/core/Mutex.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Vexel
{
namespace Threading
{

// Key hashes: an unsigned int is its own hash; other keys use std::hash.
template <class K> struct DictionaryHash
{
    size_t operator()(K const& key) const { return std::hash<K>()(key); }
};

template <> struct DictionaryHash<unsigned int>
{
    size_t operator()(unsigned int key) const { return key; }
};

// h = 5 * h + byte over the characters up to the first zero byte, in
// unsigned 32-bit arithmetic; bytes count as unsigned.
template <> struct DictionaryHash<std::string>
{
    static uint32_t Compute(std::string const& key)
    {
        uint32_t hash = 0;
        for (char c : key)
        {
            if (c == '\0')
                break;
            hash = 5u * hash + static_cast<unsigned char>(c);
        }
        return hash;
    }
    size_t operator()(std::string const& key) const { return Compute(key); }
};

template <class K, class V> class ConcurrentDictionary
{
public:
    ConcurrentDictionary() : items(RequestedBuckets) {}
    virtual ~ConcurrentDictionary() { Clear(false); }
    ConcurrentDictionary(const ConcurrentDictionary&) = delete;
    ConcurrentDictionary& operator=(const ConcurrentDictionary&) = delete;

    // Returns the value under the key, storing factory(key) first when the
    // key is absent. The factory runs under the lock, so it must not use this
    // dictionary.
    V GetOrAdd(K key, Func<V, K> const& factory)
    {
        ScopedLock<Mutex> lock(mutex);
        auto found = items.find(key);
        if (found != items.end())
            return found->second;
        V value = factory.Invoke(key); // the factory gets its own copy
        items.emplace(key, value);
        return value;
    }

    // Stores the value; a different value it replaces is deleted (after the
    // lock is released, so its destructor may use the dictionary).
    void Set(K key, V value)
    {
        V old = V();
        bool replaced = false;
        {
            ScopedLock<Mutex> lock(mutex);
            auto found = items.find(key);
            if (found == items.end())
            {
                items.emplace(key, value);
                return;
            }
            if (found->second != value)
            {
                old = found->second;
                replaced = true;
            }
            found->second = value;
        }
        if (replaced)
            DeleteValue(old);
    }

    // Copies the value out and erases the entry; false (out untouched) when
    // the key is absent.
    bool TryRemove(K key, V& out)
    {
        ScopedLock<Mutex> lock(mutex);
        auto found = items.find(key);
        if (found == items.end())
            return false;
        out = found->second;
        items.erase(found);
        return true;
    }

    // Appends every key after what the array already holds.
    std::vector<K>& CopyKeysTo(std::vector<K>& keys)
    {
        ScopedLock<Mutex> lock(mutex);
        keys.reserve(keys.size() + items.size());
        for (const auto& item : items)
            keys.push_back(item.first);
        return keys;
    }

    // Empties the map; when asked, deletes every non-null value once (a
    // pointer stored under two keys is not deleted twice).
    void Clear(bool deleteValues)
    {
        std::vector<V> doomed;
        {
            ScopedLock<Mutex> lock(mutex);
            if (deleteValues)
            {
                doomed.reserve(items.size());
                for (const auto& item : items)
                    doomed.push_back(item.second);
            }
            items.clear();
        }
        if constexpr (std::is_pointer<V>::value)
        {
            std::unordered_set<V> seen;
            for (V value : doomed)
            {
                if (value && seen.insert(value).second)
                    delete value;
            }
        }
    }

    size_t Count()
    {
        ScopedLock<Mutex> lock(mutex);
        return items.size();
    }

private:
    static constexpr size_t RequestedBuckets = 100;

    static void DeleteValue(V value)
    {
        if constexpr (std::is_pointer<V>::value)
            delete value;
        else
            (void)value;
    }

    std::unordered_map<K, V, DictionaryHash<K>> items;
    Mutex mutex;
};

} // namespace Threading
} // namespace Vexel
