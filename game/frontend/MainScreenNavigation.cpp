// Page switching: ShowPage builds a page and animates the change, GoBack and
// the back key walk the page stack down again.
#include "game/frontend/MainScreen.h"

#include "engine/core/Log.h"
#include "engine/ui/BasicTransition.h"
#include "engine/ui/Easing.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/pages/PageTable.h"
#include "game/play/GameScreen.h"
#include "game/scores/GamePrefs.h"
#include "game/widgets/TitleBarText.h"
#include "game/widgets/UICheckButton.h"
#include "game/widgets/UISlider.h"
#include "game/widgets/UITextButton.h"
#include "game/widgets/UITextureButton.h"

#include <algorithm>
#include <map>
#include <string>

using Vexel::UI::Element;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;
using Vexel::UI::Transitions::BasicTransition;
using Vexel::UI::Transitions::EasingMode;

namespace
{
typedef Vexel::Action<Element*, Vector2 const&> PressHandler;

const float kPlayScreenFade = 0.2f;
const float kTitleBarFade = 0.25f;
const float kButtonFade = 0.2f;
const float kPageFade = 0.35f;
// Forward, the old page flies outwards and grows while the new one grows
// out of the centre; back, the other way round.
const Vector2 kOutward(1.85f, 2.1f); // position and size factors
const Vector2 kInward(0.55f, 0.3f);
const float kRowStep = 114.0f; // x content scale
const float kRowGap = 0.32f;   // of a row step
const Color kWhite(255, 255, 255, 255);
const int kAlphaBlend = 1;

ElementPosition Scaled(ElementPosition const& position, float factor)
{
    return ElementPosition(position.positionPortrait * factor, position.positionLandscape * factor,
                           position.alignment);
}

// What a trace line calls an element that takes presses.
std::string TraceName(Element* element, std::map<Element*, std::string> const& labels)
{
    auto label = labels.find(element);
    if (label != labels.end())
        return "row " + label->second;
    if (UITextureButton* button = dynamic_cast<UITextureButton*>(element))
        return button->GetTile() ? "tile " + std::to_string(button->GetTile()->id) : "tile none";
    if (dynamic_cast<UITextButton*>(element))
        return "text";
    if (dynamic_cast<UICheckButton*>(element))
        return "check";
    if (dynamic_cast<UISlider*>(element))
        return "slider";
    return "element";
}

// Where an element's centre lands on a portrait screen once it has arrived.
Vector2 ArrivedCentre(ElementPosition const& position, Vector2 size, Vector2 screen)
{
    return Vexel::UI::AlignedToOffset(position.positionPortrait, position.alignment, size, screen) + size * 0.5f;
}
} // namespace

void MainScreen::ShowPage(int page, bool animate)
{
    PageBuild build;
    build.previousPage = TopPage();
    pageStack.push_back(page);
    // The entry stays pushed: the next back shows the same page again.
    if (currentPage == page)
        return;

    build.page = page;
    build.animate = animate;
    build.rowWidthFactor = 1.0f;
    currentPage = page;
    // Only the game's own page lets touches through to the game.
    touchBackdrop->SetEnabled(page != Page::Game);

    SetPageFrame(build);
    BuildPageContent(build);
    BuildRows(build);

    gameScreen->QueueTransition(new BasicTransition(build.playScreenAlpha, kPlayScreenFade, EasingMode::Linear));
    ReplaceTitleBar(build);
    ShowBottomButtons(build);
    RetirePageElements(animate);
    BringInPageElements(build);
    if (Vexel::Log::IsVerbose())
        TracePage(build);
}

// The working values from the page's row; a page outside the table has no
// title and the default buttons over the whole game.
void MainScreen::SetPageFrame(PageBuild& build)
{
    build.playScreenAlpha = 1.0f;
    build.leftButton = backButton;
    build.centreButton = nullptr;
    build.rightButton = optionsButton;
    build.titleKind = 4;
    build.title.clear();
    if (build.page < 0 || build.page >= kPageCount)
        return;
    PageTableEntry const& row = PageTable[build.page];
    auto button = [&](BottomButton::Enum which) -> Element* {
        switch (which)
        {
        case BottomButton::Back: return backButton;
        case BottomButton::LowerBack: return lowerBackButton;
        case BottomButton::Options: return optionsButton;
        case BottomButton::Tutorial: return tutorialButton;
        case BottomButton::MoreGames: return moreGamesButton;
        case BottomButton::Controls: return controlsButton;
        case BottomButton::Surrender: return surrenderButton;
        case BottomButton::SubmitScore: return submitScoreButton;
        case BottomButton::ResultsNext: return resultsNextButton;
        case BottomButton::None: break;
        }
        return nullptr;
    };
    build.titleKind = row.titleKind;
    build.title = row.title ? row.title : "";
    build.playScreenAlpha = row.playScreenAlpha;
    build.leftButton = button(row.left);
    build.centreButton = button(row.centre);
    build.rightButton = button(row.right);
}

void MainScreen::BuildPageContent(PageBuild& build)
{
    if (build.page >= 0 && build.page < kPageCount && PageTable[build.page].build)
        PageTable[build.page].build(*this, build);
}

// The page and where its presses land, for the end-to-end tests that drive
// the game as a player would.
void MainScreen::TracePage(PageBuild const& build)
{
    Vexel::Log::Verbose("frontend", "page %d", build.page);
    const Vector2 screenSize = GetSizeFor(true);
    auto trace = [&](Element* element, ElementPosition const& position, Vector2 size) {
        const Vector2 centre = ArrivedCentre(position, size, screenSize);
        Vexel::Log::Verbose("frontend", "target %s at (%d, %d) size (%d, %d)", TraceName(element, rowLabels).c_str(),
                            int(centre.x + 0.5f), int(centre.y + 0.5f), int(size.x + 0.5f), int(size.y + 0.5f));
    };
    for (auto const& arrival : arrivals)
        trace(arrival.element, arrival.position, arrival.size);
    Element* left = build.leftButton == build.rightButton ? nullptr : build.leftButton;
    const Vector2 cell = metrics.buttonCell;
    if (left)
        trace(left, ElementPosition(metrics.bottomButtonPosition * Vector2(-1.0f, 1.0f), Vexel::UI::Alignment::Bottom),
              cell);
    if (build.centreButton)
        trace(build.centreButton, ElementPosition(Vector2(0.0f, -0.5f * cell.y), Vexel::UI::Alignment::Bottom), cell);
    if (build.rightButton)
        trace(build.rightButton, ElementPosition(metrics.bottomButtonPosition, Vexel::UI::Alignment::Bottom), cell);
    rowLabels.clear();
    arrivals.clear();
    enteringPage = build.page;
}

// Once every element of the page has arrived and its buttons take presses:
// a tap before that may land beside a growing element.
void MainScreen::TracePageEntered()
{
    if (enteringPage < 0)
        return;
    auto moving = [](Element const* element) { return element != nullptr && element->IsTransitioning(); };
    if (moving(titleBar) || moving(gameScreen))
        return;
    for (Element const* element : pageElements)
        if (moving(element))
            return;
    for (Element const* element : fixedButtons)
        if (moving(element))
            return;
    Vexel::Log::Verbose("frontend", "page %d entered", enteringPage);
    enteringPage = -1;
}

void MainScreen::BuildRows(PageBuild& build)
{
    const float cs = metrics.contentScale;
    const float rowStep = kRowStep * cs;
    const float gap = kRowGap * rowStep;
    const int rows = int(build.rows.size());
    if (rows == 0)
        return;
    const float total = float(build.gapAfter.size()) * gap + float(rows - 1) * rowStep;
    float y = -total / 2.0f;
    for (int i = 0; i < rows; i++)
    {
        PageRow const& row = build.rows[i];
        if (row.tile)
        {
            const bool wide = build.wideRows.count(i) != 0;
            const Vector2 cell = wide ? metrics.wideRowCell * Vector2(1.35f, 1.25f) : metrics.wideRowCell;
            const Vector2 drawn = wide ? metrics.wideRowSize * Vector2(1.35f * build.rowWidthFactor, 1.25f)
                                       : metrics.wideRowSize * Vector2(build.rowWidthFactor, 1.0f);
            const float textHeight = metrics.wideRowSize.y * (wide ? 0.625f : 0.5f);
            UITextButton* button =
                new UITextButton(ElementLayout(ElementPosition(Vector2(0.0f, y), 0), cell, 1.0f, true), row.tile,
                                 drawn, textHeight, kAlphaBlend, &firstBatch, &secondBatch, row.label,
                                 row.colour.ScaleAlpha(0.55f));
            build.elements.push_back(button);
            if (Vexel::Log::IsVerbose())
                rowLabels[button] = row.label;
            if (row.handler.IsBound())
                button->Clicked.Subscribe(row.handler);
            AttachMenuBeep(button, row.beepVariant);
        }
        y += rowStep;
        if (build.gapAfter.count(i))
            y += gap;
    }
}

void MainScreen::ReplaceTitleBar(PageBuild const& build)
{
    const float barHeight = metrics.titleBarHeight;
    if (titleBar)
    {
        titleBar->TransitionFinished.Subscribe(
            Vexel::Action<Element*, Vexel::UI::ElementTransition*>(this, &MainScreen::OnFadeFinished));
        BasicTransition* fade = new BasicTransition(0.0f, kTitleBarFade, EasingMode::Linear);
        if (build.animate)
            fade->SetTargetPosition(ElementPosition(Vector2(0.0f, -barHeight), Vexel::UI::Alignment::Top));
        titleBar->QueueTransition(fade);
        titleBar = nullptr;
    }

    if (build.page < 0 || build.page >= kPageCount || build.titleKind < 0 || build.titleKind > 2)
        return;
    TileInfo const* tile = TitleBarTile(build.titleKind);
    if (!tile || !(tile->size.y > 0.0f))
        return;
    const std::string text = build.title;
    const Vector2 size = tile->size * (barHeight / tile->size.y);
    UITextureButton* bar =
        new UITextureButton(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), Vexel::UI::Alignment::Top), size,
                                          0.0f, true),
                            tile, size, kAlphaBlend, &firstBatch, &secondBatch, false, kWhite, false);
    titleBar = bar;
    AddChild(bar);
    BasicTransition* fade = new BasicTransition(1.0f, kTitleBarFade, EasingMode::Linear);
    if (!build.animate)
    {
        // Going back, the bar slides down while it fades in.
        bar->SetPosition(ElementPosition(Vector2(0.0f, -barHeight), Vexel::UI::Alignment::Top));
        fade->SetTargetPosition(ElementPosition(Vector2(0.0f, 0.0f), Vexel::UI::Alignment::Top));
    }
    bar->QueueTransition(fade);
    bar->AddChild(new TitleBarText(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), size, 1.0f, true), text,
                                   TitleBarColors[build.titleKind], this));
}

void MainScreen::ShowBottomButtons(PageBuild const& build)
{
    Element* left = build.leftButton == build.rightButton ? nullptr : build.leftButton;
    Element* centre = build.centreButton;
    Element* right = build.rightButton;
    for (Element* button : fixedButtons)
    {
        if (button == left || button == centre || button == right)
            continue;
        button->SetEnabled(false);
        button->QueueTransition(new BasicTransition(0.0f, kButtonFade, EasingMode::Linear));
    }
    // Each takes presses only once it has faded in, so a page cannot be left
    // twice by a double press.
    auto bringIn = [](Element* button, Vector2 position) {
        if (!button)
            return;
        button->SetPosition(ElementPosition(position, Vexel::UI::Alignment::Bottom));
        button->SetEnabled(false);
        button->QueueTransition(new BasicTransition(1.0f, kButtonFade, EasingMode::Linear));
        button->SetEnabled(true);
    };
    bringIn(left, metrics.bottomButtonPosition * Vector2(-1.0f, 1.0f));
    bringIn(centre, Vector2(0.0f, -0.5f * metrics.buttonCell.y));
    bringIn(right, metrics.bottomButtonPosition);
}

void MainScreen::RetirePageElements(bool animate)
{
    const Vector2 factors = animate ? kOutward : kInward;
    for (Element* element : pageElements)
    {
        element->SetEnabled(false);
        // Into the disabled layer: no touch reaches it from now on, even while
        // a fade-in queued before this still runs.
        RemoveChild(element);
        outgoingLayer->AddChild(element);
        element->TransitionFinished.Subscribe(
            Vexel::Action<Element*, Vexel::UI::ElementTransition*>(this, &MainScreen::OnFadeFinished));
        BasicTransition* fade = new BasicTransition(0.0f, kPageFade, EasingMode::EaseOut);
        fade->SetTargetPosition(Scaled(element->GetLayout().position, factors.x));
        fade->SetTargetSize(element->GetSizeFor(true) * factors.y, element->GetSizeFor(false) * factors.y);
        element->QueueTransition(fade);
    }
    pageElements.clear();
}

void MainScreen::BringInPageElements(PageBuild& build)
{
    const Vector2 factors = build.animate ? kInward : kOutward;
    for (Element* element : build.elements)
    {
        if (!element)
            continue;
        AddChild(element);
        const ElementPosition position = element->GetLayout().position;
        const Vector2 portrait = element->GetSizeFor(true);
        const Vector2 landscape = element->GetSizeFor(false);
        if (Vexel::Log::IsVerbose())
            arrivals.push_back(Arrival{element, position, portrait});
        element->SetAlpha(0.0f);
        element->SetPosition(Scaled(position, factors.x));
        element->SetSizes(portrait * factors.y, landscape * factors.y);
        BasicTransition* grow = new BasicTransition(1.0f, kPageFade, EasingMode::EaseOut);
        grow->SetTargetPosition(position);
        grow->SetTargetSize(portrait, landscape);
        element->QueueTransition(grow);
        pageElements.push_back(element);
    }
    build.elements.clear();
}

void MainScreen::OnFadeFinished(Element* element, Vexel::UI::ElementTransition*)
{
    if (element->IsTransitioning())
        return;
    if (std::find(pendingRemovals.begin(), pendingRemovals.end(), element) == pendingRemovals.end())
        pendingRemovals.push_back(element);
}

void MainScreen::GoBack(int count)
{
    count = std::min(count, int(pageStack.size()) - 1);
    if (count <= 0)
        return;
    for (int i = 0; i < count; i++)
        PopPage();
    int page = TopPage();
    PopPage();
    // Tilt switched off while the game lay flat: straight back to the game.
    if (page == Page::DeviceTooFlat && !GamePrefs::GetTiltControls() && !pageStack.empty() &&
        pageStack.back() == Page::Game)
    {
        page = Page::Game;
        PopPage();
    }
    if (page == Page::Game)
        gameScreen->SetPaused(false);
    ShowPage(page, false);
}

void MainScreen::OnBackKey()
{
    if (pageStack.size() < 2)
        return;
    const int top = pageStack.back();
    switch (top)
    {
    case Page::Title:
    case Page::ResultsAlive:
    case Page::ResultsLost:
    case Page::NameEntry:
    case Page::Surrender:
        return;
    case Page::Game:
        // Update opens the pause page.
        gameScreen->SetPaused(true);
        return;
    default:
        GoBack(1);
    }
}
