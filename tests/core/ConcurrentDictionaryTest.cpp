#include "engine/core/ConcurrentDictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

using Vexel::Func;
using Vexel::Threading::ConcurrentDictionary;
using Vexel::Threading::DictionaryHash;

namespace
{
// Counts destructions, so the tests see which values the dictionary deletes.
struct Value
{
    explicit Value(int id, int* deaths = nullptr) : id(id), deaths(deaths) {}
    ~Value()
    {
        if (deaths)
            ++*deaths;
    }
    int id;
    int* deaths;
};

using Names = ConcurrentDictionary<std::string, Value*>;
using Ids = ConcurrentDictionary<unsigned int, Value*>;

struct Factory
{
    int calls = 0;
    std::vector<std::string> keys;
    Value* Make(std::string key)
    {
        calls++;
        keys.push_back(key);
        return new Value(100 + calls);
    }
};

std::vector<std::string> SortedKeys(Names& names)
{
    std::vector<std::string> keys;
    names.CopyKeysTo(keys);
    std::sort(keys.begin(), keys.end());
    return keys;
}
} // namespace

TEST(ConcurrentDictionary, StringHashIsFiveTimesPlusEachByteUpToTheFirstZero)
{
    // Reference values from a Python 3 one-liner over the same bytes.
    struct Case
    {
        std::string text;
        uint32_t hash;
    };
    const Case cases[] = {
        {"", 0u},
        {"a", 97u},
        {"abc", 3014u},
        {"SegoeUI_24pt.type", 1044196290u},
        {std::string("\xff\x80\x7f"), 7142u}, // bytes count as unsigned
        {std::string("ab\0cd", 5), 583u},     // stops at the zero byte
        {"The quick brown fox jumps over the lazy dog", 1655691405u},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.hash, DictionaryHash<std::string>::Compute(c.text)) << c.text;
        EXPECT_EQ(static_cast<size_t>(c.hash), DictionaryHash<std::string>()(c.text)) << c.text;
    }
    EXPECT_EQ(4000000000u, DictionaryHash<unsigned int>()(4000000000u));
}

TEST(ConcurrentDictionary, KeysSharingAHashStayApart)
{
    Names names;
    std::string withZero("ab\0cd", 5);
    names.Set("ab", new Value(1));
    names.Set(withZero, new Value(2));
    Value* out = nullptr;
    ASSERT_TRUE(names.TryRemove(withZero, out));
    EXPECT_EQ(2, out->id);
    delete out;
    ASSERT_TRUE(names.TryRemove("ab", out));
    EXPECT_EQ(1, out->id);
    delete out;
}

TEST(ConcurrentDictionary, GetOrAddCallsTheFactoryOnlyForAMissingKey)
{
    Names names;
    Factory factory;
    Func<Value*, std::string> make(&factory, &Factory::Make);
    Value* first = names.GetOrAdd("font", make);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, names.GetOrAdd("font", make));
    EXPECT_EQ(1, factory.calls);
    EXPECT_EQ((std::vector<std::string>{"font"}), factory.keys);
    Value* second = names.GetOrAdd("other", make);
    EXPECT_NE(first, second);
    EXPECT_EQ(2, factory.calls);
    EXPECT_EQ(2u, names.Count());
    names.Clear(true);
}

TEST(ConcurrentDictionary, SetDeletesTheValueItReplacesButNotTheSameOne)
{
    int deaths = 0;
    Ids ids;
    Value* first = new Value(1, &deaths);
    ids.Set(5, first);
    ids.Set(5, first); // the same value again: nothing to delete
    EXPECT_EQ(0, deaths);
    ids.Set(5, new Value(2, &deaths));
    EXPECT_EQ(1, deaths); // `first` is gone
    Value* out = nullptr;
    ASSERT_TRUE(ids.TryRemove(5, out));
    EXPECT_EQ(2, out->id);
    delete out;
    EXPECT_EQ(2, deaths);
}

TEST(ConcurrentDictionary, ReplacedValueMayUseTheDictionaryWhileDying)
{
    // A value whose destructor reads the dictionary: it must not be deleted
    // while the dictionary's lock is held.
    struct Reader
    {
        Ids* ids;
        size_t* seen;
        ~Reader() { *seen = ids->Count(); }
    };
    using Readers = ConcurrentDictionary<unsigned int, Reader*>;
    Readers readers;
    Ids ids;
    ids.Set(1, new Value(1));
    size_t seen = 0;
    readers.Set(1, new Reader{&ids, &seen});
    readers.Set(1, new Reader{&ids, &seen});
    EXPECT_EQ(1u, seen);
    readers.Clear(true);
    ids.Clear(true);
}

TEST(ConcurrentDictionary, TryRemoveLeavesOutUntouchedForAMissingKey)
{
    Ids ids;
    Value keep(9);
    Value* out = &keep;
    EXPECT_FALSE(ids.TryRemove(3, out));
    EXPECT_EQ(&keep, out);
    ids.Set(3, nullptr);
    EXPECT_TRUE(ids.TryRemove(3, out));
    EXPECT_EQ(nullptr, out);
    EXPECT_FALSE(ids.TryRemove(3, out));
}

TEST(ConcurrentDictionary, CopyKeysToAppendsAfterWhatTheArrayHolds)
{
    Names names;
    names.Set("b", nullptr);
    names.Set("a", nullptr);
    std::vector<std::string> keys{"kept"};
    std::vector<std::string>& returned = names.CopyKeysTo(keys);
    EXPECT_EQ(&keys, &returned);
    ASSERT_EQ(3u, keys.size());
    EXPECT_EQ("kept", keys[0]);
    std::sort(keys.begin() + 1, keys.end());
    EXPECT_EQ((std::vector<std::string>{"kept", "a", "b"}), keys);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), SortedKeys(names));
}

TEST(ConcurrentDictionary, ClearDeletesValuesOnlyWhenAskedAndEachOnce)
{
    int deaths = 0;
    Value a(1, &deaths);
    {
        Names names;
        names.Set("a", &a);
        names.Clear(false);
        EXPECT_EQ(0u, names.Count());
        names.Set("a", &a);
    } // the destructor clears without deleting
    EXPECT_EQ(0, deaths);

    Names names;
    Value* shared = new Value(2, &deaths);
    names.Set("x", shared);
    names.Set("y", shared);
    names.Set("z", new Value(3, &deaths));
    names.Set("none", nullptr);
    names.Clear(true);
    EXPECT_EQ(2, deaths);
    EXPECT_EQ(0u, names.Count());
}

TEST(ConcurrentDictionary, ProducerAndDrainerOnTwoThreadsLoseNothing)
{
    // The exchange thread files answers while the main thread drains them.
    Ids ids;
    const unsigned int count = 2000;
    std::thread producer(
        [&]
        {
            for (unsigned int id = 0; id < count; id++)
                ids.Set(id, new Value(static_cast<int>(id)));
        });
    std::vector<bool> received(count, false);
    unsigned int receivedCount = 0;
    std::vector<unsigned int> keys;
    while (receivedCount < count)
    {
        keys.clear();
        ids.CopyKeysTo(keys);
        for (unsigned int id : keys)
        {
            Value* value = nullptr;
            if (!ids.TryRemove(id, value))
                continue;
            EXPECT_EQ(static_cast<int>(id), value->id);
            EXPECT_FALSE(received[id]);
            received[id] = true;
            receivedCount++;
            delete value;
        }
    }
    producer.join();
    EXPECT_EQ(0u, ids.Count());
}
