// The small menu elements: the menu beep, the spinner, the scaling container
// and the calibration line, headless (recording batches and GL seam).
#include "engine/core/VectorMath.h"
#include "engine/graphics/GL.h"
#include "engine/ui/UIManager.h"
#include "game/frontend/elements/CalibrationLineElement.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/MenuBeepHelper.h"
#include "game/frontend/elements/ScaleElement.h"
#include "game/frontend/elements/WaitingRotatorElement.h"
#include "game/scores/GamePrefs.h"
#include "game/widgets/UICheckButton.h"
#include "tests/frontend/FrontEndTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using FrontEndTest::ExpectNear;
using FrontEndTest::Quad;
using FrontEndTest::RecordingBatch;
using FrontEndTest::SoundLog;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

using Vexel::kPi;

ElementLayout Centred(Vector2 size)
{
    return ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), size);
}

class TiltFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = *Vexel::UI::UIManager::GetTilt();
        GamePrefs::SetTiltReference(Vector3(0.0f, -1.0f, 0.0f));
    }
    void TearDown() override { *Vexel::UI::UIManager::GetTilt() = saved; }
    static void Tilt(Vector3 t) { *Vexel::UI::UIManager::GetTilt() = t; }
    Vector3 saved;
};

TEST(MenuBeep, CheckButtonBeepsBothWaysAtItsPitch)
{
    TextWidgetTest::FakeWidgetFonts fonts;
    SoundLog sounds;
    RecordingBatch batch;
    auto* button = new UICheckButton(Centred(Vector2(200.0f, 50.0f)), Vector2(200.0f, 50.0f), &batch, &batch,
                                     "On", "Off", false);
    AttachMenuBeep(button, 1);
    EXPECT_EQ(1, MenuBeepHelper::Instance().GetVariant(button));
    button->OnClick(Vector2(10.0f, 10.0f)); // on
    button->OnClick(Vector2(10.0f, 10.0f)); // off
    ASSERT_EQ(2u, sounds.played.size());
    for (auto const& played : sounds.played)
    {
        EXPECT_EQ(8, played.id);
        EXPECT_FLOAT_EQ(1.2f, played.volume);
        EXPECT_FLOAT_EQ(0.8f, played.pitch);
    }
    const size_t before = MenuBeepHelper::Instance().GetCount();
    delete button;
    EXPECT_EQ(before - 1, MenuBeepHelper::Instance().GetCount());
}

TEST(MenuBeep, AttachedTwiceBeepsOnceWithTheSecondVariant)
{
    SoundLog sounds;
    struct Case
    {
        int first, second;
        float pitch;
    };
    const Case cases[] = {{0, 2, 1.0f}, {2, 0, 1.2f}, {0, 1, 0.8f}, {1, 7, 1.0f}};
    for (Case const& c : cases)
    {
        sounds.played.clear();
        std::unique_ptr<Vexel::UI::Element> element(
            new Vexel::UI::Element(Centred(Vector2(10.0f, 10.0f)), Vexel::UI::TouchMode::Take));
        AttachMenuBeep(element.get(), c.first);
        AttachMenuBeep(element.get(), c.second);
        element->Clicked.Raise(element.get(), Vector2(1.0f, 1.0f));
        ASSERT_EQ(1u, sounds.played.size());
        EXPECT_FLOAT_EQ(c.pitch, sounds.played[0].pitch);
        EXPECT_FLOAT_EQ(c.pitch, MenuBeepHelper::Pitch(c.second));
    }
    // An element that was never attached stays silent.
    sounds.played.clear();
    MenuBeepHelper::Instance().OnClick(nullptr, Vector2());
    EXPECT_TRUE(sounds.played.empty());
}

TEST(WaitingRotator, BrightnessWaveAndBlades)
{
    for (int count : {8, 12})
        for (int i = 0; i < count; i++)
            EXPECT_NEAR(0.3f + 0.7f * float(i) / float(count),
                        WaitingRotatorElement::BladeBrightness(0.0f, i, count), 1e-5f);

    RecordingBatch batch;
    WaitingRotatorElement eight(Centred(Vector2(100.0f, 80.0f)), Color(255, 255, 255, 200), &batch, false);
    EXPECT_FLOAT_EQ(0.0f, eight.GetPhase());
    eight.Update(0.5f);
    EXPECT_NEAR(0.525f, eight.GetPhase(), 1e-5f);
    eight.Update(1.0f);
    EXPECT_NEAR(0.575f, eight.GetPhase(), 1e-5f); // 1.575 wrapped

    WaitingRotatorElement fresh(Centred(Vector2(100.0f, 80.0f)), Color(255, 255, 255, 200), &batch, false);
    fresh.Draw(Vexel::Rectangle(10.0f, 20.0f, 100.0f, 80.0f), 0.5f);
    ASSERT_EQ(8u, batch.quads.size());
    const Vector2 centre(60.0f, 60.0f);
    const float step = 2.0f * kPi / 8.0f;
    for (int i = 0; i < 8; i++)
    {
        Quad const& q = batch.quads[i];
        const float angle = step / 2.0f + step * float(i);
        EXPECT_EQ(58u, q.tile->id);
        EXPECT_EQ(2, q.blendMode);
        EXPECT_NEAR(angle, q.rotation, 1e-4f);
        ExpectNear(centre + Vector2(20.0f, 0.0f).Rotate(angle), q.position, "blade");
        ExpectNear(Vector2(40.0f, 7.2f), q.size, "blade size");
        const float brightness = 0.3f + 0.7f * float(i) / 8.0f;
        EXPECT_EQ(Color(255, 255, 255, 200).ScaleAlpha(0.5f * brightness), q.colour) << i;
    }

    batch.quads.clear();
    WaitingRotatorElement twelve(Centred(Vector2(100.0f, 100.0f)), Color(), &batch, true);
    twelve.Draw(Vexel::Rectangle(0.0f, 0.0f, 100.0f, 100.0f), 1.0f);
    ASSERT_EQ(12u, batch.quads.size());
    EXPECT_EQ(66u, batch.quads[0].tile->id);
    EXPECT_NEAR(2.0f * kPi / 24.0f + kPi / 2.0f, batch.quads[0].rotation, 1e-4f);
    ExpectNear(Vector2(10.5f, 38.0f), batch.quads[0].size, "short blade");
}

TEST_F(TiltFixture, ScaleElementFlushesAndScalesAboutItsCentre)
{
    Tilt(Vector3(0.0f, 0.0f, 0.0f));
    TextWidgetTest::CountingFlush flush;
    Vexel::Graphics::GL::Recorder recorder;
    flush.recorder = &recorder;
    ScaleElement element(Centred(Vector2(200.0f, 100.0f)), &flush, false, false);
    EXPECT_EQ(Vexel::UI::TouchMode::Ignore, element.GetTouchMode());
    EXPECT_EQ(Vector2(200.0f, 100.0f), element.GetBaseSize());

    element.DrawBegin(Vexel::Rectangle(50.0f, 60.0f, 100.0f, 25.0f), 1.0f);
    EXPECT_EQ(1, flush.first);
    EXPECT_EQ(1, flush.second);
    ASSERT_EQ(1, recorder.Count("glPushMatrix"));
    ASSERT_EQ(2, recorder.Count("glMultMatrixf"));
    std::vector<std::vector<float>> matrices;
    for (auto const& call : recorder.GetCalls())
        if (call.name == "glMultMatrixf")
            matrices.push_back(call.floats);
    // Scale by rect / base about the rect's centre (100, 72.5).
    const float expected[2][6] = {{0.5f, 0.0f, 0.0f, 0.25f, 100.0f, 72.5f},
                                  {1.0f, 0.0f, 0.0f, 1.0f, -100.0f, -72.5f}};
    for (int m = 0; m < 2; m++)
    {
        EXPECT_NEAR(expected[m][0], matrices[m][0], 1e-5f);
        EXPECT_NEAR(expected[m][1], matrices[m][1], 1e-5f);
        EXPECT_NEAR(expected[m][2], matrices[m][4], 1e-5f);
        EXPECT_NEAR(expected[m][3], matrices[m][5], 1e-5f);
        EXPECT_NEAR(expected[m][4], matrices[m][12], 1e-4f);
        EXPECT_NEAR(expected[m][5], matrices[m][13], 1e-4f);
    }
    element.DrawEnd(Vexel::Rectangle(50.0f, 60.0f, 100.0f, 25.0f), 1.0f);
    EXPECT_EQ(2, flush.first);
    EXPECT_EQ(2, flush.second);
    EXPECT_EQ(1, recorder.Count("glPopMatrix"));
    // The flush of DrawEnd comes before the pop, so the content draws inside.
    EXPECT_EQ("glPopMatrix", recorder.GetCalls().back().name);
}

TEST_F(TiltFixture, TiltFollowingKeepsItsAngleWhileFlat)
{
    Tilt(Vector3(0.3f, -0.95f, 0.0f));
    float target = 0.0f;
    ASSERT_TRUE(ScaleElement::GetTiltAngle(target));
    ScaleElement element(Centred(Vector2(100.0f, 100.0f)), nullptr, true, true);
    EXPECT_EQ(Vexel::UI::TouchMode::Take, element.GetTouchMode());
    EXPECT_NEAR(target, element.GetAngle(), 1e-5f); // starts at the tilt of its construction

    Tilt(Vector3(0.0f, -1.0f, 0.0f));
    float upright = 0.0f;
    ASSERT_TRUE(ScaleElement::GetTiltAngle(upright));
    {
        Vexel::Graphics::GL::Recorder recorder;
        element.DrawBegin(Vexel::Rectangle(0.0f, 0.0f, 100.0f, 100.0f), 1.0f);
        element.DrawEnd(Vexel::Rectangle(0.0f, 0.0f, 100.0f, 100.0f), 1.0f);
    }
    float delta = upright - target;
    while (delta > kPi)
        delta -= 2.0f * kPi;
    while (delta < -kPi)
        delta += 2.0f * kPi;
    const float moved = element.GetAngle();
    EXPECT_NEAR(std::remainder(target + 0.3f * delta - moved, 2.0f * kPi), 0.0f, 1e-4f);

    Tilt(Vector3(0.0f, 0.05f, -1.0f)); // lying flat
    float ignored = 0.0f;
    EXPECT_FALSE(ScaleElement::GetTiltAngle(ignored));
    EXPECT_FLOAT_EQ(kPi, ignored);
    {
        Vexel::Graphics::GL::Recorder recorder;
        element.DrawBegin(Vexel::Rectangle(0.0f, 0.0f, 100.0f, 100.0f), 1.0f);
        element.DrawEnd(Vexel::Rectangle(0.0f, 0.0f, 100.0f, 100.0f), 1.0f);
    }
    EXPECT_FLOAT_EQ(moved, element.GetAngle());
}

TEST_F(TiltFixture, CalibrationLineArrowAndFlatLook)
{
    RecordingBatch batch;
    CalibrationLineElement line(nullptr, &batch, Vector2(320.0f, 480.0f));
    EXPECT_EQ(Vexel::UI::TouchMode::Ignore, line.GetTouchMode());
    EXPECT_TRUE(line.FollowsTilt());
    const Vexel::Rectangle rect(0.0f, 0.0f, 320.0f, 480.0f);
    const Vector2 centre(160.0f, 240.0f);

    Tilt(Vector3(0.0f, -1.0f, 0.0f));
    line.Draw(rect, 1.0f);
    ASSERT_EQ(9u, batch.quads.size());
    for (int i = 0; i < 5; i++)
    {
        EXPECT_EQ(58u, batch.quads[i].tile->id);
        EXPECT_EQ(255, batch.quads[i].colour.a);
    }
    ExpectNear(centre + Vector2(0.0f, -0.36f * 480.0f), batch.quads[0].position, "arrow tip");
    ExpectNear(Vector2(0.09f, 0.25f) * 320.0f, batch.quads[0].size, "arrow tip size");
    ExpectNear(centre + Vector2(-32.0f, -0.26f * 480.0f), batch.quads[1].position, "barb");
    EXPECT_EQ(0u, batch.quads[5].tile->id);
    EXPECT_EQ(165, batch.quads[5].colour.a); // 255 x 0.65
    ExpectNear(Vector2(320.0f * 0.092f, 1440.0f), batch.quads[5].size, "line");
    ExpectNear(centre + Vector2(32.0f, 32.0f), batch.quads[6].position, "side line");
    EXPECT_EQ(89, batch.quads[6].colour.a); // 255 x 0.35
    EXPECT_NEAR(kPi / 2.0f, batch.quads[8].rotation, 1e-5f);
    EXPECT_EQ(61, batch.quads[8].colour.a); // 255 x 0.24

    batch.quads.clear();
    Tilt(Vector3(0.0f, 0.05f, -1.0f));
    line.Draw(rect, 1.0f);
    ASSERT_EQ(4u, batch.quads.size());
    for (Quad const& q : batch.quads)
        EXPECT_EQ(54u, q.tile->id);
    EXPECT_EQ(124, batch.quads[0].colour.a); // 255 x 0.75 = 191, x 0.65
}

} // namespace
