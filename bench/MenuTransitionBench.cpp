// The main screen's page changes on a headless ES 1.1 context with the game's
// art and fonts: for each change, the CPU time of its frames on the main
// thread (update, drawing and the animate pass, before glFinish) and the wall
// time to glFinish, over the 0.35 s the pages fly; the menu world runs behind.
//
//     menu_transition_bench [width height [last.png]]   default 320 480; the
//                                                  last frame saved when named
#include "bench/BenchSupport.h"
#include "engine/core/AppEvents.h"
#include "engine/core/Platform.h"
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "engine/ui/InternalUIManagerEventCore.h"
#include "engine/ui/UIHelper.h"
#include "engine/ui/UIManager.h"
#include "game/audio/GameMusic.h"
#include "game/frontend/MainScreen.h"
#include "game/play/GameScreen.h"
#include "game/scores/GamePrefs.h"
#include "tests/support/GLTestSupport.h"
#include "tests/support/GameData.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Vexel::Bench::Median;
using Vexel::Bench::ThreadCpuMs;
using Vexel::Bench::WallMs;
namespace GL = Vexel::Graphics::GL;

const float kFrame = 1.0f / 30.0f;
const int kTransitionFrames = 11; // 0.35 s

class SilentMusic : public GameMusic::IMusicPlayer
{
public:
    int Play(std::string const&, int, int, float, float) override { return ++id; }
    int GetTrackState(int playing) override { return playing == id ? 1 : 0; }
    void StopCurrent(bool, float) override {}
    int id = 0;
};

struct Timing
{
    double cpu;
    double wall;
};

// One frame as the shell runs it.
Timing Frame(int width, int height)
{
    InternalUIManagerEventCore& core = InternalUIManagerEventCore::Instance();
    const double wall = WallMs();
    const double cpu = ThreadCpuMs();
    core.Update(kFrame);
    GL::Viewport(0, 0, width, height);
    GL::MatrixMode(GL_PROJECTION);
    GL::LoadIdentity();
    GL::Orthof(-float(width / 2), float(width / 2), float(height / 2), -float(height / 2), -1.0f, 1.0f);
    GL::MatrixMode(GL_MODELVIEW);
    GL::LoadIdentity();
    core.Draw();
    core.Animate(kFrame);
    const double cpuEnd = ThreadCpuMs();
    GL::Finish();
    return Timing{cpuEnd - cpu, WallMs() - wall};
}

} // namespace

int main(int argc, char** argv)
{
    const int width = argc > 2 ? std::atoi(argv[1]) : 320;
    const int height = argc > 2 ? std::atoi(argv[2]) : 480;
    char folder[] = "/tmp/cobalt-keep-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    setenv("XDG_DATA_HOME", folder, 1);
    setenv("COBALT_KEEP_SCORE_SERVER", "offline", 1);
    Vexel::Platform::SetScreenMetrics(width, height, Vector2(160.0f, 160.0f));
    std::unique_ptr<Vexel::Platform::GLContext> context =
        GLTest::CreateContext(GLTest::ContextChoice::Headless, width, height);
    if (!context)
    {
        std::fprintf(stderr, "menu_transition_bench: no headless OpenGL ES 1.1 context\n");
        return 1;
    }
    GLTest::SetUpFrame(width, height, Color(0, 0, 0, 255));
    GLTest::UseGameData(VEXEL_DATA_DIR);
    Vexel::AppEvents::Startup().Raise();
    SilentMusic music;
    GameMusic::SetPlayer(&music);
    GamePrefs::MarkFirstRunDone();
    Vexel::UI::UIManager::SetOrientation(1, 0.0f);
    InitUIHelper();
    MainScreen* screen = new MainScreen();
    Vexel::UI::UIManager::AttachElement(screen, 0);
    // Fonts and atlases load on the pool and upload on first use.
    for (int i = 0; i < 90; i++)
        Frame(width, height);

    struct Change
    {
        const char* name;
        std::function<void()> go;
    };
    const Vector2 none;
    const Change changes[] = {
        {"title -> Classic Mode", [&] { screen->OnShowClassic(nullptr, none); }},
        {"Classic -> Strategy Tips", [&] { screen->OnStrategyTips(nullptr, none); }},
        {"back to Classic Mode", [&] { screen->OnBack(nullptr, none); }},
        {"back to the title", [&] { screen->OnBack(nullptr, none); }},
        {"title -> Select a Stage", [&] { screen->OnShowStages(nullptr, none); }},
        {"stage grid -> Stage: Order", [&] { screen->ChooseGridItem(1); }},
        {"level grid -> Selected Level", [&] { screen->ChooseGridItem(2); }},
        {"back to Stage: Order", [&] { screen->OnBack(nullptr, none); }},
        {"back to the stage grid", [&] { screen->OnBack(nullptr, none); }},
        {"back to the title", [&] { screen->OnBack(nullptr, none); }},
        {"title -> Game Options", [&] { screen->OnOptions(nullptr, none); }},
        {"options -> Information", [&] { screen->OnShowPage<Page::Information>(nullptr, none); }},
        {"back to Game Options", [&] { screen->OnBack(nullptr, none); }},
    };
    std::printf("menu_transition_bench %dx%d: main-thread CPU and wall time to glFinish per frame,\n"
                "over the %d frames of each page change (the world runs behind)\n",
                width, height, kTransitionFrames);
    std::printf("%-30s %9s %9s %9s %9s %9s\n", "change", "build ms", "cpu med", "cpu worst", "wall med",
                "wall worst");
    std::vector<double> allCpu, allWall;
    for (Change const& change : changes)
    {
        // Settle first: the idle frames of the page shown before.
        for (int i = 0; i < 30; i++)
            Frame(width, height);
        const double buildStart = ThreadCpuMs();
        change.go();
        const double build = ThreadCpuMs() - buildStart;
        std::vector<double> cpu, wall;
        for (int i = 0; i < kTransitionFrames; i++)
        {
            Timing t = Frame(width, height);
            cpu.push_back(t.cpu);
            wall.push_back(t.wall);
        }
        allCpu.insert(allCpu.end(), cpu.begin(), cpu.end());
        allWall.insert(allWall.end(), wall.begin(), wall.end());
        std::printf("%-30s %9.2f %9.2f %9.2f %9.2f %9.2f\n", change.name, build, Median(cpu),
                    *std::max_element(cpu.begin(), cpu.end()), Median(wall),
                    *std::max_element(wall.begin(), wall.end()));
    }
    std::vector<double> idle;
    for (int i = 0; i < 60; i++)
        idle.push_back(Frame(width, height).cpu);
    std::printf("%-30s %9s %9.2f %9.2f %9.2f %9.2f\n", "all transition frames", "", Median(allCpu),
                *std::max_element(allCpu.begin(), allCpu.end()), Median(allWall),
                *std::max_element(allWall.begin(), allWall.end()));
    std::printf("%-30s %9s %9.2f\n", "idle frames (Game Options)", "", Median(idle));
    if (argc > 3)
        GLTest::ReadFrame(width, height).SavePng(argv[3]);
    Vexel::UI::UIManager::DetachElement(screen);
    return 0;
}
