// The leaderboard list, the top scores block and the name drums drawn with
// the generated art and fonts on a real OpenGL ES 1.1 context through the
// real UI manager, at the reference phone's size and at twice it. Each frame
// is saved as score_views_<scene>-<w>x<h>.png in this build folder for a
// person to look at; the probes check that the texts and the drums' letters
// are lit where they belong.
#include "engine/core/AppEvents.h"
#include "engine/core/Platform.h"
#include "engine/display/GLContext.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/ui/InternalUIManagerEventCore.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/elements/LeaderboardPageElement.h"
#include "game/frontend/elements/NumberSelectionElement.h"
#include "game/frontend/elements/TopScoresElement.h"
#include "game/scores/GamePrefs.h"
#include "game/widgets/IFlush.h"
#include "tests/frontend/FakeScoreTable.h"
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
using FrontEndTest::FakeScoreTable;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;
using Vexel::UI::UIManager;

const float kFrame = 1.0f / 30.0f;

bool SharedContextReady()
{
    static Vexel::Platform::GLContext* context = GLTest::CreateContext(640, 960).release();
    return context != nullptr;
}

struct Size
{
    int width, height;
};

// The screen's stand-in: a root the size of the screen that owns the two
// sprite batches of the menu and draws them after its children.
class Stage : public Vexel::UI::Element, public IFlush
{
public:
    explicit Stage(Vector2 size)
        : Element(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), size), Vexel::UI::TouchMode::Ignore),
          first(512), second(512)
    {
    }
    void FlushFirstBatch() override { first.Draw(); }
    void FlushSecondBatch() override { second.Draw(); }
    void DrawEnd(Vexel::Rectangle, float) override
    {
        FlushFirstBatch();
        FlushSecondBatch();
    }

    Vexel::Graphics::Sprites::TransientBatch first;
    Vexel::Graphics::Sprites::TransientBatch second;
};

class ScoreViewsPixels : public ::testing::TestWithParam<Size>
{
protected:
    void SetUp() override
    {
        UITest::ResetUIState();
        width = GetParam().width;
        height = GetParam().height;
        cs = float(width) / 640.0f;
        Vexel::Platform::SetScreenMetrics(width, height, Vector2(160.0f, 160.0f));
        ASSERT_TRUE(SharedContextReady()) << "no EGL pbuffer context";
        GLTest::UseGameData(VEXEL_DATA_DIR);
        // Before the startup loads: the pool's workers read the environment.
        saveFolder.reset(new ScopedEnvironment("XDG_DATA_HOME", saves.Path()));
        Vexel::AppEvents::Startup().Raise();
        GamePrefs::Unload();
        UIManager::SetOrientation(1, 0.0f);
        InitUIHelper();
        stage = new Stage(Vector2(float(width), float(height)));
        UIManager::AttachElement(stage, 0);

        table.best = FakeScoreTable::Entry("KEV", 1234567, 412, 12, 3, 3725, 1268000000.0);
        table.latest = FakeScoreTable::Entry("KEV", 98765, 140, 7, 0, 402, 1268090000.0);
        const char* names[] = {"ACE", "Bo!", "zed", "QQQ", "m.k", "T_T",
                               "Rex", "ivy", "JJ7", "o0o", "Max", "sam"};
        for (int i = 0; i < 12; ++i)
            table.global.push_back(FakeScoreTable::Entry(names[i], 9000000 / (i + 1), 900 - 50 * i,
                                                         30 - 2 * i, uint8_t(i % 3), 4000 - 250 * i,
                                                         1262304000.0 + 86400.0 * i));
    }

    void TearDown() override
    {
        UITest::ResetUIState();
        delete stage;
        stage = nullptr;
        ShutdownUIHelper();
        GamePrefs::Unload();
        saveFolder.reset();
        Vexel::Platform::SetScreenMetrics(320, 480, Vector2(0.0f, 0.0f));
    }

    void Frames(int count)
    {
        InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
        for (int i = 0; i < count; i++)
        {
            core.Update(kFrame);
            GLTest::SetUpFrame(width, height, Color(0, 0, 0, 255));
            GL::PushMatrix();
            GL::Translatef(0.5f * float(width), 0.5f * float(height), 0.0f);
            core.Draw();
            GL::PopMatrix();
            GL::Finish();
            ASSERT_EQ(GLenum(GL_NO_ERROR), GL::GetError());
            core.Animate(kFrame);
        }
    }

    GLTest::Frame Save(const char* scene)
    {
        GLTest::Frame frame = GLTest::ReadFrame(width, height);
        char name[96];
        snprintf(name, sizeof(name), "/score_views_%s-%dx%d.png", scene, width, height);
        EXPECT_TRUE(frame.SavePng(std::string(VEXEL_TEST_OUTPUT_DIR) + name));
        return frame;
    }

    // Lit pixels in a rectangle given in pixels of the 640-wide design.
    int Lit(GLTest::Frame const& f, float x, float y, float w, float h) const
    {
        return f.CountBrighterThan(Vexel::Rectangle(x * cs, y * cs, w * cs, h * cs), 60);
    }

    TempDirectory saves;
    std::unique_ptr<ScopedEnvironment> saveFolder;
    Stage* stage = nullptr;
    FakeScoreTable table;
    int width = 0;
    int height = 0;
    float cs = 1.0f;
};

TEST_P(ScoreViewsPixels, Leaderboard)
{
    auto* list = new LeaderboardPageElement(&table, stage, &stage->second, cs);
    stage->AddChild(list);
    Frames(3);
    GLTest::Frame names = Save("leaderboard");
    // The element spans (640, 700) in the middle: y 130 .. 830.
    const float top = 130.0f, row = 700.0f * 0.068f;
    EXPECT_GT(Lit(names, 40.0f, top + 0.5f * row - 30.0f, 560.0f, 40.0f), int(400 * cs * cs)) << "latest";
    EXPECT_GT(Lit(names, 40.0f, top + 1.5f * row - 30.0f, 560.0f, 40.0f), int(400 * cs * cs)) << "best";
    EXPECT_GT(Lit(names, 40.0f, top + 3.1f * row - 30.0f, 560.0f, 40.0f), int(400 * cs * cs)) << "titles";
    for (int r = 0; r < 10; ++r)
    {
        const float y = top + 350.0f + (float(r) + 1.65f - 4.5f) * row;
        EXPECT_GT(Lit(names, 40.0f, y - 30.0f, 560.0f, 40.0f), int(300 * cs * cs)) << "row " << r;
    }
    EXPECT_GT(Lit(names, 120.0f, 800.0f, 400.0f, 40.0f), int(300 * cs * cs)) << "flick text";
    // Every text inside the page: nothing on its outermost columns.
    EXPECT_EQ(0, Lit(names, 0.0f, 0.0f, 3.0f, 960.0f));
    EXPECT_EQ(0, Lit(names, 637.0f, 0.0f, 3.0f, 960.0f));

    // Sideways to the other columns, then down to the second ten, busy.
    list->TouchDown(Vector2(320.0f, 480.0f) * cs, 1);
    list->TouchMove(Vector2(120.0f, 480.0f) * cs);
    Frames(2);
    list->CancelTouch();
    Frames(2);
    list->TouchDown(Vector2(320.0f, 600.0f) * cs, 1);
    list->TouchMove(Vector2(320.0f, 400.0f) * cs);
    Frames(2);
    list->CancelTouch();
    table.state = HighScores::GlobalScoreState::Fetching;
    Frames(40);
    EXPECT_EQ(1, list->GetColumn());
    EXPECT_EQ(1, list->GetRowPage());
    GLTest::Frame times = Save("leaderboard_times");
    EXPECT_GT(Lit(times, 40.0f, top + 350.0f + (1.65f - 4.5f) * row - 30.0f, 560.0f, 40.0f),
              int(300 * cs * cs));

    table.state = HighScores::GlobalScoreState::Failed;
    Frames(2);
    GLTest::Frame failed = Save("leaderboard_failed");
    EXPECT_EQ(0, Lit(failed, 0.0f, 0.0f, 3.0f, 780.0f));
    EXPECT_EQ(0, Lit(failed, 637.0f, 0.0f, 3.0f, 780.0f));
    EXPECT_GT(Lit(failed, 60.0f, 800.0f, 520.0f, 40.0f), int(300 * cs * cs)) << "network error";
}

TEST_P(ScoreViewsPixels, TopScoresAndNameDrums)
{
    auto* scores = new TopScoresElement(stage, &table, &stage->first, Vector2(600.0f, 240.0f) * cs, cs,
                                        &stage->second, true);
    stage->AddChild(scores);
    scores->SetPosition(ElementPosition(Vector2(20.0f, 60.0f) * cs, 5));

    GamePrefs::SetPlayerName("KEV");
    const Vector2 drum(160.0f, 390.0f);
    for (int i = 0; i < 3; ++i)
        stage->AddChild(new NumberSelectionElement(
            ElementLayout(ElementPosition(Vector2(float(i - 1) * drum.x, 180.0f) * cs, 0), drum * cs), i,
            stage, &stage->first));
    Frames(3);
    GLTest::Frame f = Save("top_scores_and_drums");
    // Names, labels and scores of the three entries.
    for (int e = 0; e < 3; ++e)
    {
        const float y = 60.0f + 80.0f * float(e);
        EXPECT_GT(Lit(f, 20.0f, y, 150.0f, 80.0f), int(1500 * cs * cs)) << "name " << e;
        EXPECT_GT(Lit(f, 170.0f, y, 450.0f, 80.0f), int(1500 * cs * cs)) << "score " << e;
        // Nothing past the block's right edge.
        EXPECT_EQ(0, Lit(f, 622.0f, y, 18.0f, 80.0f)) << "right of entry " << e;
    }
    // The front letters K, E, V in the drums' middles.
    const float drumCentreY = 480.0f + 180.0f;
    for (int i = 0; i < 3; ++i)
    {
        const float x = 320.0f + float(i - 1) * drum.x;
        EXPECT_GT(Lit(f, x - 40.0f, drumCentreY - 50.0f, 80.0f, 100.0f), int(600 * cs * cs)) << "drum " << i;
    }
    EXPECT_EQ("KEV", GamePrefs::GetPlayerName());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScoreViewsPixels, ::testing::Values(Size{320, 480}, Size{640, 960}),
                         [](::testing::TestParamInfo<Size> const& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

} // namespace
