#include "engine/core/Delegate.h"

#include <gtest/gtest.h>

#include <string>

using Vexel::Action;
using Vexel::Func;

namespace
{
struct Counter
{
    int calls = 0;
    int last = 0;
    std::string text;
    void Hit() { calls++; }
    void Add(int v)
    {
        calls++;
        last += v;
    }
    void Other(int v) { last = -v; }
    void Take(std::string s)
    {
        s += "!";
        text = s;
    }
    int Twice(int v) { return 2 * v; }
};

struct Base
{
    virtual ~Base() = default;
    virtual void Name() { name = "base"; }
    bool Check(bool value)
    {
        name = value ? "yes" : "no";
        return value;
    }
    void SetFlag(bool value) { flag = value; }
    std::string name;
    bool flag = false;
};

struct Derived : Base
{
    void Name() override { name = "derived"; }
};
} // namespace

TEST(Delegate, EmptyDelegatesDoNothingAndCopyAsEmpty)
{
    Action<> empty;
    EXPECT_FALSE(empty.IsBound());
    empty.Invoke();
    Action<> copy(empty);
    EXPECT_EQ(copy.GetMethod(), nullptr);
    copy.Invoke();

    Func<int, int> emptyFunc;
    EXPECT_FALSE(emptyFunc.IsBound());
    EXPECT_EQ(emptyFunc.Invoke(3), 0);
}

TEST(Delegate, CopyOutlivesSourceAndOwnsItsOwnHandler)
{
    Counter c;
    Action<int>* source = new Action<int>(&c, &Counter::Add);
    Action<int> copy(*source);
    EXPECT_NE(copy.GetMethod(), source->GetMethod());
    delete source;
    copy.Invoke(5);
    EXPECT_EQ(c.calls, 1);
    EXPECT_EQ(c.last, 5);
}

TEST(Delegate, RebindingReplacesAndAssignmentClones)
{
    Counter c;
    Action<int> a(&c, &Counter::Add);
    a.Bind(&c, &Counter::Other);
    a.Invoke(4);
    EXPECT_EQ(c.calls, 0);
    EXPECT_EQ(c.last, -4);

    Action<int> b;
    b = a;
    b.Invoke(7);
    EXPECT_EQ(c.last, -7);

    b = Action<int>();
    EXPECT_FALSE(b.IsBound());
    b.Invoke(9);
    EXPECT_EQ(c.last, -7);

    // Self-assignment keeps the binding.
    Action<int>& alias = a;
    a = alias;
    a.Invoke(2);
    EXPECT_EQ(c.last, -2);
}

TEST(Delegate, VirtualAndBaseClassMembers)
{
    Derived d;
    Action<> name(static_cast<Base*>(&d), &Base::Name);
    name.Invoke();
    EXPECT_EQ(d.name, "derived");

    // A derived target bound to a member function of its base class.
    Action<bool> flag(&d, &Base::SetFlag);
    flag.Invoke(true);
    EXPECT_TRUE(d.flag);
    EXPECT_EQ(flag.GetMethod()->GetTarget(), static_cast<void*>(&d));

    Func<bool, bool> check(&d, &Base::Check);
    EXPECT_TRUE(check.IsBound());
    EXPECT_FALSE(check.Invoke(false));
    EXPECT_EQ(d.name, "no");
}

TEST(Delegate, ByValueArgumentsAreCopiedAndFuncReturns)
{
    Counter c;
    Action<std::string> take(&c, &Counter::Take);
    std::string original = "hello";
    take.Invoke(original);
    EXPECT_EQ(original, "hello");
    EXPECT_EQ(c.text, "hello!");

    Func<int, int> twice(&c, &Counter::Twice);
    Func<int, int> copy(twice);
    EXPECT_EQ(copy.Invoke(21), 42);
}
