// The widget helper's state lives on the heap behind one pointer that is
// never cleared at exit: the fonts stay reachable to the end and no static
// destructor can run after the UI manager's events are gone.
#include "engine/ui/UIHelper.h"

#include "engine/core/Delegate.h"
#include "engine/core/Rectangle.h"
#include "engine/graphics/GeometryBatch.h"
#include "engine/graphics/type/IFont.h"
#include "engine/ui/UIManager.h"

#include <cmath>
#include <map>

const char* const kUIFontFile = "SegoeUI_24pt.type";
const char* const kUIOutlineFontFile = "SegoeUI_24pt_outline.type";

// The target of the after-draw subscription.
class UIHelperHelper
{
public:
    void OnAfterDraw(Vexel::Rectangle rect);
};

namespace
{

using Vexel::Graphics::Type::IFont;

const float kPreloadedSize = 16.0f;

typedef std::map<float, IFont*> FontCache;

struct HelperState
{
    FontCache plainFonts;
    FontCache outlineFonts;
    Vexel::Graphics::Geometry::TransientBatch widgetBatch;
    UIHelperHelper subscriber;
    bool initialised = false;

    ~HelperState()
    {
        for (auto& entry : plainFonts)
            delete entry.second;
        for (auto& entry : outlineFonts)
            delete entry.second;
    }
};

HelperState* state = nullptr;
UIFontFactory fontFactory = nullptr;

HelperState& State()
{
    if (!state)
        state = new HelperState();
    return *state;
}

IFont* MakeFont(std::string const& fileName, float size)
{
    if (fontFactory)
        return fontFactory(fileName, size);
    return Vexel::Graphics::Type::CreateFont(fileName, size);
}

IFont* Cached(FontCache& cache, const char* fileName, float size, bool load)
{
    // A NaN key would break the map's ordering.
    if (std::isnan(size))
        size = 0.0f;
    auto found = cache.find(size);
    if (found == cache.end())
        found = cache.emplace(size, MakeFont(fileName, size)).first;
    IFont* font = found->second;
    if (font && load)
        font->Load();
    return font;
}

} // namespace

void UIHelperHelper::OnAfterDraw(Vexel::Rectangle)
{
    GetTransientBatch()->Draw();
}

void InitUIHelper()
{
    HelperState& s = State();
    // Our own flag: a size-16 font asked for earlier must not skip the hook.
    if (s.initialised)
        return;
    s.initialised = true;
    Cached(s.plainFonts, kUIFontFile, kPreloadedSize, false);
    Vexel::UI::UIManager::AfterDraw.Subscribe(
        Vexel::Action<Vexel::Rectangle>(&s.subscriber, &UIHelperHelper::OnAfterDraw));
}

IFont* GetFont(float size)
{
    return Cached(State().plainFonts, kUIFontFile, size, true);
}

IFont* GetOutlineFont(float size)
{
    return Cached(State().outlineFonts, kUIOutlineFontFile, size, true);
}

Vexel::Graphics::Geometry::TransientBatch* GetTransientBatch()
{
    return &State().widgetBatch;
}

std::string FormatWithThousands(int64_t value)
{
    if (value == 0)
        return "0";
    // The magnitude in unsigned arithmetic, so the most negative value works.
    uint64_t magnitude = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    char groups[8][4];
    int count = 0;
    while (magnitude > 0)
    {
        const unsigned group = unsigned(magnitude % 1000u);
        magnitude /= 1000u;
        groups[count][0] = char('0' + group / 100);
        groups[count][1] = char('0' + group / 10 % 10);
        groups[count][2] = char('0' + group % 10);
        groups[count][3] = '\0';
        ++count;
    }
    std::string text = value < 0 ? "-" : "";
    // The leading group has no leading zeros; the others keep all three digits.
    const char* first = groups[count - 1];
    while (first[0] == '0' && first[1] != '\0')
        ++first;
    text += first;
    for (int i = count - 2; i >= 0; --i)
    {
        text += ',';
        text += groups[i];
    }
    return text;
}

void SetUIFontFactory(UIFontFactory factory)
{
    fontFactory = factory;
}

void ShutdownUIHelper()
{
    if (!state)
        return;
    Vexel::UI::UIManager::AfterDraw.Unsubscribe(&state->subscriber);
    delete state;
    state = nullptr;
}
