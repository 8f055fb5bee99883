// Keyboard text entry: key translation, editing, commit listeners, and the
// registry's focus rules.
#include "engine/ui/ITextEntryListener.h"
#include "engine/ui/KeyTranslation.h"
#include "engine/ui/KeyboardTextEntryElement.h"
#include "engine/ui/TextInputRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace Vexel::UI;

namespace
{
struct KeyCase
{
    int symbol;
    int modifiers;
    int expected;
};
const KeyCase kKeys[] = {
    {97, 0x0001, 65},  {97, 0x2000, 65}, {97, 0x2001, 65}, {49, 0x2000, 49},  {49, 0x0002, 33},
    {300, 0, -1},      {13, 0, 13},      {-1, 0, -1},      {256, 0x0001, -1}, {255, 0, 255},
    {122, 0x0003, 90}, {97, 0x0004, 97}, {8, 0x0001, 8},   {27, 0x2000, 27},  {65, 0x2000, 65},
};
class KeyTable : public ::testing::TestWithParam<KeyCase>
{
};
} // namespace

TEST_P(KeyTable, TranslatesSymbolAndModifiers)
{
    const KeyCase c = GetParam();
    EXPECT_EQ(TranslateKey(c.symbol, c.modifiers), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTable, ::testing::ValuesIn(kKeys));

TEST(TranslateKey, ShiftFollowsTheUsLayoutAndCapsLockOnlyLetters)
{
    const std::string plain = "`1234567890-=[]\\;',./abcdefghijklmnopqrstuvwxyz";
    const std::string shifted = "~!@#$%^&*()_+{}|:\"<>?ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    ASSERT_EQ(plain.size(), shifted.size());
    for (size_t i = 0; i < plain.size(); ++i)
    {
        const int symbol = static_cast<unsigned char>(plain[i]);
        EXPECT_EQ(TranslateKey(symbol, KeyModifier::LeftShift), static_cast<unsigned char>(shifted[i]))
            << plain[i];
        EXPECT_EQ(TranslateKey(symbol, KeyModifier::RightShift | KeyModifier::CapsLock),
                  static_cast<unsigned char>(shifted[i]));
        const bool letter = plain[i] >= 'a' && plain[i] <= 'z';
        EXPECT_EQ(TranslateKey(symbol, KeyModifier::CapsLock),
                  letter ? static_cast<unsigned char>(shifted[i]) : symbol);
    }
    // Every other symbol is itself, whatever the modifiers.
    int unchanged = 0;
    for (int symbol = 0; symbol <= 255; ++symbol)
        if (TranslateKey(symbol, KeyModifier::Shift | KeyModifier::CapsLock) == symbol)
            ++unchanged;
    EXPECT_EQ(unchanged, 256 - 47);
}

namespace
{
struct CommitListener : ITextEntryListener
{
    void OnTextCommitted() override
    {
        ++commits;
        if (log)
            log->push_back(this);
        if (removeOther)
            input->RemoveListener(removeOther);
        if (deleteInput)
        {
            delete input;
            input = nullptr;
        }
    }
    int commits = 0;
    std::vector<CommitListener*>* log = nullptr;
    ITextInputInterface* input = nullptr;
    ITextEntryListener* removeOther = nullptr;
    bool deleteInput = false;
};

std::string Type(ITextInputInterface& input, std::string const& keys)
{
    for (char c : keys)
        input.HandleKey(static_cast<unsigned char>(c));
    return input.GetText();
}

class TextEntryTest : public ::testing::Test
{
protected:
    void TearDown() override { EXPECT_EQ(GetRegisteredTextInputCount(), 0); }
};
} // namespace

TEST_F(TextEntryTest, EditingRules)
{
    std::unique_ptr<KeyboardTextEntryElement> input(
        CreateKeyboardTextEntry(Vector2(1, 2), Vector2(3, 4), 12.0f, 0x00ff00ff, "ab", 5, false, 1));
    EXPECT_EQ(input->GetText(), "ab");
    EXPECT_EQ(Type(*input, "\b"), "a");
    EXPECT_EQ(Type(*input, "\b\b\b"), "");
    EXPECT_EQ(Type(*input, "Hi there!\x7f"), "Hi there!");
    EXPECT_EQ(Type(*input, "\r"), "Hi there!"); // Enter commits, never appends
    // No length limit: the factory's limit argument is not used.
    EXPECT_EQ(Type(*input, "0123456789").size(), 19u);
    input->SetText("x");
    input->SetPrompt("Name:");
    EXPECT_EQ(input->GetText(), "x");
    EXPECT_EQ(input->GetPrompt(), "Name:");
    input->SetEntryPosition(Vector2(5, 5));
    input->SetEntrySize(Vector2(5, 5));
    input->SetEntryColor(1);
    input->SetEntryStyle(2);
    EXPECT_EQ(input->GetText(), "x");

    std::unique_ptr<KeyboardTextEntryElement> empty(
        CreateKeyboardTextEntry(Vector2(), Vector2(), 0.0f, 0, nullptr, 0, false, 0));
    EXPECT_EQ(empty->GetText(), "");
    EXPECT_EQ(empty->GetPrompt(), "");
    EXPECT_FALSE(empty->IsFocusable());
}

TEST_F(TextEntryTest, EnterTellsEveryListenerOnce)
{
    KeyboardTextEntryElement input("go");
    std::vector<CommitListener*> order;
    CommitListener a, b;
    a.log = b.log = &order;
    input.HandleKey(13); // no listeners: nothing happens
    input.AddListener(&a);
    input.AddListener(&b);
    input.AddListener(&b);
    EXPECT_EQ(input.GetListeners().size(), 2u);
    input.HandleKey(13);
    EXPECT_EQ(a.commits, 1);
    EXPECT_EQ(b.commits, 1);
    std::vector<CommitListener*> expected{&a, &b};
    if (&b < &a)
        std::swap(expected[0], expected[1]);
    EXPECT_EQ(order, expected); // set order
    input.RemoveListener(&a);
    input.HandleKey(13);
    EXPECT_EQ(a.commits, 1);
    EXPECT_EQ(b.commits, 2);
    EXPECT_EQ(input.GetText(), "go");
}

TEST_F(TextEntryTest, ListenerMayRemoveAnotherOrDeleteTheInput)
{
    KeyboardTextEntryElement input("x");
    CommitListener first, second;
    // Whichever is told first removes the other.
    first.input = second.input = &input;
    first.removeOther = &second;
    second.removeOther = &first;
    input.AddListener(&first);
    input.AddListener(&second);
    input.HandleKey(13);
    EXPECT_EQ(first.commits + second.commits, 1);

    auto* doomed = new KeyboardTextEntryElement("y");
    CommitListener killer, other;
    killer.input = doomed;
    killer.deleteInput = true;
    other.input = doomed;
    other.deleteInput = true;
    doomed->AddListener(&killer);
    doomed->AddListener(&other);
    doomed->SetFocused(true);
    doomed->HandleKey(13);
    EXPECT_EQ(killer.commits + other.commits, 1);
    EXPECT_EQ(GetFocusedTextInput(), nullptr);
}

TEST_F(TextEntryTest, FocusPassesToTheNextFocusableInput)
{
    auto a = std::make_unique<KeyboardTextEntryElement>("a");
    auto b = std::make_unique<KeyboardTextEntryElement>("b");
    EXPECT_EQ(GetRegisteredTextInputCount(), 2);
    EXPECT_TRUE(IsTextInputRegistered(a.get()));
    EXPECT_EQ(GetFocusedTextInput(), nullptr);

    a->SetFocused(true);
    EXPECT_EQ(GetFocusedTextInput(), a.get());
    EXPECT_TRUE(a->IsFocused());
    EXPECT_FALSE(b->IsFocused());

    // b is not focusable: a losing focus leaves none.
    a->SetFocused(false);
    EXPECT_EQ(GetFocusedTextInput(), nullptr);

    b->SetFocused(true);
    a->SetFocused(true); // the latest request wins
    EXPECT_EQ(GetFocusedTextInput(), a.get());
    a->SetFocused(false);
    EXPECT_EQ(GetFocusedTextInput(), b.get());

    // Destroying the focused input leaves no dangling focus.
    a->SetFocused(true);
    a.reset();
    EXPECT_EQ(GetFocusedTextInput(), b.get());
    b.reset();
    EXPECT_EQ(GetFocusedTextInput(), nullptr);
}

TEST_F(TextEntryTest, ClearTextFocusLeavesNothingFocusable)
{
    KeyboardTextEntryElement a("a"), b("b");
    a.SetFocused(true);
    b.SetFocused(true);
    ClearTextFocus();
    EXPECT_EQ(GetFocusedTextInput(), nullptr);
    EXPECT_FALSE(a.IsFocusable());
    EXPECT_FALSE(b.IsFocusable());
    RefreshTextFocus();
    EXPECT_EQ(GetFocusedTextInput(), nullptr);

    // RefreshTextFocus picks the first focusable input in registry order.
    a.SetFocused(true);
    b.SetFocused(true);
    SetFocusedTextInput(nullptr);
    RefreshTextFocus();
    EXPECT_EQ(GetFocusedTextInput(), &a < &b ? static_cast<ITextInputInterface*>(&a) : &b);
    ClearTextFocus();
}

TEST_F(TextEntryTest, UnregisteredInputNoLongerHoldsFocus)
{
    KeyboardTextEntryElement a("a");
    a.SetFocused(true);
    UnregisterTextInput(&a);
    EXPECT_EQ(GetFocusedTextInput(), nullptr);
    RefreshTextFocus();
    EXPECT_EQ(GetFocusedTextInput(), nullptr); // not in the registry any more
    RegisterTextInput(&a);
    RefreshTextFocus();
    EXPECT_EQ(GetFocusedTextInput(), &a);
}
