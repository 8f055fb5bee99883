// The menu pages as a player sees them: the main screen on the real UI
// manager over its running menu world, drawn on a real OpenGL ES 1.1
// context with the generated art and fonts, at the reference phone's size
// and at twice it. Each page's settled frame is saved as
// page_<nn>-<w>x<h>.png in this build folder for a person to look at; the
// probes check what must be there (the title bar, the page's own content,
// the bottom buttons).
#include "engine/core/AppEvents.h"
#include "engine/core/Platform.h"
#include "engine/display/GLContext.h"
#include "engine/graphics/GL.h"
#include "engine/ui/InternalUIManagerEventCore.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/MainScreen.h"
#include "game/play/GameScreen.h"
#include "game/scores/Awards.h"
#include "game/scores/GamePrefs.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"
#include "tests/support/TempDirectory.h"
#include "tests/ui/UITestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{

namespace GL = Vexel::Graphics::GL;
using Vexel::UI::UIManager;

const float kFrame = 1.0f / 30.0f;
const int kMaxWidth = 640;
const int kMaxHeight = 960;

// One headless context for the whole program: the atlases are uploaded once
// into it and stay there.
bool SharedContextReady()
{
    static Vexel::Platform::GLContext* context = GLTest::CreateContext(kMaxWidth, kMaxHeight).release();
    return context != nullptr;
}

struct Size
{
    int width, height;
};

class PagePixels : public ::testing::TestWithParam<Size>
{
protected:
    void SetUp() override
    {
        UITest::ResetUIState();
        width = GetParam().width;
        height = GetParam().height;
        const float dpi = 160.0f * float(width) / 320.0f;
        Vexel::Platform::SetScreenMetrics(width, height, Vector2(dpi, dpi));
        ASSERT_TRUE(SharedContextReady()) << "no EGL pbuffer context";
        GLTest::UseGameData(VEXEL_DATA_DIR);
        // Before the startup loads: the pool's workers read the environment.
        saveFolder.reset(new ScopedEnvironment("XDG_DATA_HOME", saves.Path()));
        Vexel::AppEvents::Startup().Raise();
        GamePrefs::Unload();
        AllAwards::Unload();
        GamePrefs::Load();
        GamePrefs::MarkFirstRunDone();
        // A desktop has no accelerometer.
        GamePrefs::SetTiltControls(false);
        UIManager::SetOrientation(1, 0.0f);
        UIManager::SetClearColor(Color(0, 0, 0, 255));
        InitUIHelper();
        screen = new MainScreen();
        UIManager::AttachElement(screen, 0);
        Frames(15);
    }

    void TearDown() override
    {
        UITest::ResetUIState();
        delete screen;
        screen = nullptr;
        ShutdownUIHelper();
        GamePrefs::Unload();
        AllAwards::Unload();
        saveFolder.reset();
        Vexel::Platform::SetScreenMetrics(320, 480, Vector2(0.0f, 0.0f));
    }

    // Frames as the shell runs them: update, draw with the origin at the
    // screen centre, layout.
    void Frames(int count)
    {
        InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
        for (int i = 0; i < count; i++)
        {
            core.Update(kFrame);
            GLTest::SetUpFrame(width, height, UIManager::GetClearColor());
            GL::PushMatrix();
            GL::Translatef(0.5f * float(width), 0.5f * float(height), 0.0f);
            core.Draw();
            GL::PopMatrix();
            GL::Finish();
            ASSERT_EQ(GLenum(GL_NO_ERROR), GL::GetError());
            core.Animate(kFrame);
        }
    }

    // Shows the page and lets its transition settle (0.35 s).
    GLTest::Frame Show(int page)
    {
        screen->ShowPage(page, true);
        Frames(14);
        GLTest::Frame frame = GLTest::ReadFrame(width, height);
        char name[64];
        snprintf(name, sizeof(name), "/page_%02d-%dx%d.png", page, width, height);
        EXPECT_TRUE(frame.SavePng(std::string(VEXEL_TEST_OUTPUT_DIR) + name));
        return frame;
    }

    float S() const { return float(width) / 320.0f; } // design pixels per reference pixel

    // Pixels brighter than 60 in a rectangle given in reference pixels.
    int Lit(GLTest::Frame const& f, float x, float y, float w, float h) const
    {
        return f.CountBrighterThan(Vexel::Rectangle(x * S(), y * S(), w * S(), h * S()), 60);
    }

    void ExpectTitleBar(GLTest::Frame const& f, int page)
    {
        EXPECT_GT(Lit(f, 40.0f, 4.0f, 240.0f, 28.0f), int(800 * S() * S())) << "title bar of page " << page;
    }

    TempDirectory saves;
    std::unique_ptr<ScopedEnvironment> saveFolder;
    MainScreen* screen = nullptr;
    int width = 0;
    int height = 0;
};

TEST_P(PagePixels, TitleAndModePages)
{
    GLTest::Frame title = Show(1);
    ExpectTitleBar(title, 1);
    // Four big mode buttons fill the middle.
    for (float x : {80.0f, 240.0f})
        for (float y : {150.0f, 320.0f})
            EXPECT_GT(Lit(title, x - 40.0f, y - 40.0f, 80.0f, 80.0f), int(900 * S() * S())) << x << "," << y;

    for (int page : {8, 9})
    {
        GLTest::Frame f = Show(page);
        ExpectTitleBar(f, page);
        // The play button above the bottom row.
        EXPECT_GT(Lit(f, 120.0f, 420.0f, 80.0f, 25.0f), int(200 * S() * S())) << page;
    }
}

TEST_P(PagePixels, GauntletStageAndLevelGrids)
{
    for (int page : {10, 11, 12, 19})
    {
        GLTest::Frame f = Show(page);
        ExpectTitleBar(f, page);
        // The middle grid button of the second row.
        EXPECT_GT(Lit(f, 130.0f, 200.0f, 60.0f, 80.0f), int(800 * S() * S())) << page;
    }
}

TEST_P(PagePixels, SelectedLevelAndStage)
{
    const struct
    {
        int page;
        int level, stage;
    } cases[] = {{20, 4, 0}, {20, 31, 0}, {21, 0, 3}, {21, 0, 8}};
    for (auto const& c : cases)
    {
        screen->SetChosenLevel(c.level);
        screen->SetChosenStage(c.stage);
        // Showing the current page again would not rebuild it.
        screen->ShowPage(1, true);
        Frames(24);
        GLTest::Frame f = Show(c.page);
        char name[96];
        snprintf(name, sizeof(name), "/page_%02d_%d_%d-%dx%d.png", c.page, c.level, c.stage, width, height);
        EXPECT_TRUE(f.SavePng(std::string(VEXEL_TEST_OUTPUT_DIR) + name));
        ExpectTitleBar(f, c.page);
        // The level picture at the block's left and the play button.
        EXPECT_GT(Lit(f, 50.0f, 70.0f, 60.0f, 100.0f), int(300 * S() * S())) << c.page;
        EXPECT_GT(Lit(f, 120.0f, 380.0f, 80.0f, 60.0f), int(400 * S() * S())) << c.page;
    }
    screen->ShowPage(43, true); // the tips of the last stage
    Frames(14);
}

TEST_P(PagePixels, OptionsHelpAndTips)
{
    for (int page : {22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 7})
    {
        GLTest::Frame f = Show(page);
        if (page != 22 && page != 24 && page != 7)
            ExpectTitleBar(f, page);
        // Something of the page's own in the middle third.
        EXPECT_GT(Lit(f, 20.0f, 160.0f, 280.0f, 160.0f), int(300 * S() * S())) << page;
    }
    screen->SetChosenLevel(12);
    Show(20);
    GLTest::Frame tips = Show(43);
    EXPECT_GT(Lit(tips, 20.0f, 60.0f, 280.0f, 360.0f), int(1500 * S() * S()));
}

TEST_P(PagePixels, ResultsAndNameEntry)
{
    // A level game just lost: the results picture, then the name drums with
    // the awards block over them.
    screen->GetGameScreen()->GetSimulation().StartGameAtLevel(5, 3, 1);
    GLTest::Frame lost = Show(4);
    EXPECT_GT(Lit(lost, 60.0f, 60.0f, 200.0f, 70.0f), int(1500 * S() * S()));
    GLTest::Frame name = Show(5);
    ExpectTitleBar(name, 5);
    EXPECT_GT(Lit(name, 100.0f, 200.0f, 120.0f, 200.0f), int(1500 * S() * S()));
    Show(3);
    Show(6);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PagePixels, ::testing::Values(Size{320, 480}, Size{640, 960}),
                         [](::testing::TestParamInfo<Size> const& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

} // namespace
