#include "game/simulation/ParticleSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

namespace
{

// The pools are large: keep systems off the stack.
std::unique_ptr<ParticleSystem> NewSystem()
{
    return std::unique_ptr<ParticleSystem>(new ParticleSystem());
}

TEST(ParticleSystemTest, PoolsStopAtTheirCapacity)
{
    std::unique_ptr<ParticleSystem> p = NewSystem();
    for (int i = 0; i < 300; ++i)
    {
        p->AddChargeSpark();
        p->AddFadingMark(Vector2(1.0f, 2.0f), 0.5f, Vector2(3.0f, 4.0f));
        p->AddHitFlash(Vector2(5.0f, 6.0f));
        p->AddPlanetSmoke(i % 2, 16.0f, 38.0f, 47.0f);
        p->AddExplosion(Vector2(0.0f, 100.0f), 0.3f, Vector2(30.0f, 20.0f), uint32_t(i % 2), true, false);
    }
    EXPECT_EQ(ParticleSystem::kSpriteCapacity, p->GetSpriteCount());
    EXPECT_EQ(ParticleSystem::kMarkCapacity, p->GetMarkCount());
    EXPECT_EQ(ParticleSystem::kFlashCapacity, p->GetFlashCount());
    EXPECT_EQ(ParticleSystem::kSmokeCapacity, p->GetSmokeCount());
    EXPECT_EQ(ParticleSystem::kSparkCapacity, p->GetSparkCount());
    EXPECT_EQ(192 + 16 + 16 + 16 + 64, p->GetLiveCount());
    EXPECT_EQ(192, ParticleSystem::kSpriteCapacity);
    EXPECT_EQ(64, ParticleSystem::kSparkCapacity);

    // Everything burns out.
    for (int i = 0; i < 400; ++i)
        p->Update();
    EXPECT_EQ(0, p->GetLiveCount());
}

TEST(ParticleSystemTest, AnExplosionNearAFullSparkPoolAddsWhatFits)
{
    std::unique_ptr<ParticleSystem> p = NewSystem();
    // A Hulk's explosion (half extents 8 x 6.4, e = 14.4): n = 6 debris,
    // m = (int)(6 x 1.25) + 8 = 15, Red: 15 x 80 / 100 + 1 = 13 sparks.
    p->AddExplosion(Vector2(0.0f, 80.0f), 0.0f, Vector2(8.0f, 6.4f), 0, true, false);
    EXPECT_EQ(13, p->GetSparkCount());
    EXPECT_EQ(6, p->GetSpriteCount());
    for (int i = 0; i < 3; ++i)
        p->AddExplosion(Vector2(0.0f, 80.0f), 0.0f, Vector2(8.0f, 6.4f), 0, true, false);
    EXPECT_EQ(52, p->GetSparkCount());
    p->AddExplosion(Vector2(0.0f, 80.0f), 0.0f, Vector2(8.0f, 6.4f), 0, true, false);
    EXPECT_EQ(64, p->GetSparkCount());

    // No sparks without the flag; the Lockdown Ring's style is sparser.
    std::unique_ptr<ParticleSystem> q = NewSystem();
    q->AddExplosion(Vector2(0.0f, 80.0f), 0.0f, Vector2(32.0f, 9.2f), 1, false, true);
    EXPECT_EQ(0, q->GetSparkCount());
    EXPECT_EQ(int(0.07f * 41.2f) + 3, q->GetSpriteCount());
}

TEST(ParticleSystemTest, ExplosionOfAKindWithoutExtentStaysANumber)
{
    std::unique_ptr<ParticleSystem> p = NewSystem();
    const Vector2 at(3.0f, -4.0f);
    p->AddExplosion(at, 1.0f, Vector2(0.0f, 0.0f), 0, false, false);
    ASSERT_EQ(3, p->GetSpriteCount());
    for (int i = 0; i < 3; ++i)
    {
        ParticleSystem::SpriteParticle const& piece = p->GetSprites()[i];
        EXPECT_EQ(at.x, piece.sprite.x);
        EXPECT_EQ(at.y, piece.sprite.y);
        // Only the random drift moves it.
        const float speed = piece.velocity.Length();
        EXPECT_GE(speed, 0.15f - 1e-5f);
        EXPECT_LE(speed, 0.55f + 1e-5f);
    }
    for (int i = 0; i < 5; ++i)
        p->Update();
    for (int i = 0; i < p->GetSpriteCount(); ++i)
        EXPECT_TRUE(std::isfinite(p->GetSprites()[i].sprite.x) && std::isfinite(p->GetSprites()[i].sprite.y));
}

TEST(ParticleSystemTest, SpritesFadeInAndOut)
{
    std::unique_ptr<ParticleSystem> p = NewSystem();
    // A charge spark lives 14 ticks, fades in over 5 and out over the last 9.
    p->AddChargeSpark();
    const int expected[] = {51, 102, 153, 204, 255, 226, 198, 170, 141, 113, 85, 56, 28};
    for (int alpha : expected)
    {
        p->Update();
        ASSERT_EQ(1, p->GetSpriteCount());
        EXPECT_EQ(alpha, p->GetSprites()[0].sprite.color.a);
    }
    // 13 updates leave life 1; the 14th removes it.
    p->Update();
    EXPECT_EQ(0, p->GetSpriteCount());

    // No fade-in, and a life shorter than the fade-out: partial from the start.
    p->AddMuzzleStreak(Vector2(0.0f, 5.0f), 1.0f);
    ASSERT_EQ(1, p->GetSpriteCount());
    EXPECT_EQ(50, p->GetSprites()[0].sprite.color.a);
    p->Update();
    EXPECT_EQ(20 * 255 / 36, p->GetSprites()[0].sprite.color.a);

    // A weak streak is not made at all.
    p->AddMuzzleStreak(Vector2(0.0f, 5.0f), 0.1f);
    EXPECT_EQ(1, p->GetSpriteCount());

    // A glint is drawn once: the next update removes it.
    p->AddGlint(Vector2(10.0f, 10.0f), 0.5f);
    EXPECT_EQ(2, p->GetSpriteCount());
    p->Update();
    EXPECT_EQ(1, p->GetSpriteCount());
}

TEST(ParticleSystemTest, ARecordSwappedIntoAHoleIsNotUpdatedTwice)
{
    std::unique_ptr<ParticleSystem> p = NewSystem();
    p->AddChargeSpark();
    p->AddGlint(Vector2(1.0f, 1.0f), 1.0f);
    p->AddChargeSpark();
    p->AddChargeSpark();
    p->Update();
    ASSERT_EQ(3, p->GetSpriteCount());
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(1, p->GetSprites()[i].age) << i;
        EXPECT_EQ(13, p->GetSprites()[i].life) << i;
    }
}

TEST(ParticleSystemTest, MarksFlashesAndSmokeRunOutOnTime)
{
    std::unique_ptr<ParticleSystem> p = NewSystem();
    p->AddHitFlash(Vector2(0.0f, 50.0f));
    const float duration = p->GetFlashes()[0].duration;
    EXPECT_GE(duration, 5.0f);
    EXPECT_LT(duration, 7.0f);
    EXPECT_EQ(duration, p->GetFlashes()[0].timeLeft);
    EXPECT_EQ(70, p->GetFlashes()[0].tile);
    int ticks = 0;
    while (p->GetFlashCount() > 0)
    {
        p->Update();
        ++ticks;
    }
    EXPECT_EQ(int(std::ceil(duration)), ticks);

    // A planet impact: log-sized, 30 ticks and more.
    p->AddPlanetImpact(Vector2(0.0f, 2.0f), 41.0f, 721294521u);
    ASSERT_EQ(1, p->GetMarkCount());
    ParticleSystem::Mark const& mark = p->GetMarks()[0];
    EXPECT_NEAR(41.0f, mark.position.y, 1e-4f);
    EXPECT_GE(mark.duration, 30.0f);
    const float m = (logf(721294521.0f) - 14.0f) * 11.0f;
    EXPECT_GE(mark.size, m);
    EXPECT_LE(mark.size, 2.0f * m);
    EXPECT_TRUE(mark.tile == 27 || mark.tile == 28);

    // Nothing lost leaves no mark.
    p->AddPlanetImpact(Vector2(0.0f, 2.0f), 41.0f, 0);
    EXPECT_EQ(1, p->GetMarkCount());

    p->AddPlanetSmoke(1, 16.0f, 38.0f, 47.0f);
    ASSERT_EQ(1, p->GetSmokeCount());
    ParticleSystem::Smoke const& smoke = p->GetSmokes()[0];
    EXPECT_EQ(53, smoke.tile);
    const float r = smoke.position.Length();
    EXPECT_GE(r, 16.0f - 1e-4f);
    EXPECT_LT(r, 38.0f + 1e-4f);
    EXPECT_NEAR(cosf(r / (47.0f * 1.1f) * 1.5707964f) * 0.9f + 0.15f, smoke.aspect, 1e-5f);
}

// The same calls give the same particles; a full smoke pool still takes its
// two placement draws, so what comes after does not depend on the pool.
TEST(ParticleSystemTest, TheGeneratorIsTheSystemsOwnAndFullSmokeStillDraws)
{
    std::unique_ptr<ParticleSystem> a = NewSystem();
    std::unique_ptr<ParticleSystem> b = NewSystem();
    for (int i = 0; i < ParticleSystem::kSmokeCapacity; ++i)
    {
        a->AddPlanetSmoke(0, 16.0f, 38.0f, 47.0f);
        b->AddPlanetSmoke(0, 16.0f, 38.0f, 47.0f);
    }
    EXPECT_EQ(a->GetSmokes()[7].position, b->GetSmokes()[7].position);
    a->AddPlanetSmoke(0, 16.0f, 38.0f, 47.0f);              // full: two draws
    b->AddFadingMark(Vector2(), 0.0f, Vector2(1.0f, 1.0f)); // two draws
    a->AddHitFlash(Vector2());
    b->AddHitFlash(Vector2());
    EXPECT_EQ(a->GetFlashes()[0].rotation, b->GetFlashes()[0].rotation);
    EXPECT_EQ(a->GetFlashes()[0].duration, b->GetFlashes()[0].duration);

    // Saving and loading keeps no particles.
    std::ostringstream out;
    a->Save(out);
    EXPECT_TRUE(out.str().empty());
}

TEST(ParticleSystemTest, BurstsAndHitDebris)
{
    std::unique_ptr<ParticleSystem> p = NewSystem();
    p->AddBurst(Vector2(0.0f, 60.0f));
    EXPECT_EQ(45, p->GetSpriteCount());
    for (int i = 0; i < 45; ++i)
    {
        ParticleSystem::SpriteParticle const& s = p->GetSprites()[i];
        EXPECT_EQ(29, s.tile);
        EXPECT_GE(s.sprite.color.a, 80);
        EXPECT_LE(s.sprite.color.a, 190);
        EXPECT_EQ(s.life - 6, s.fadeOut);
    }
    p->AddBurst(Vector2(0.0f, 60.0f));
    p->AddBurst(Vector2(0.0f, 60.0f));
    p->AddBurst(Vector2(0.0f, 60.0f));
    p->AddBurst(Vector2(0.0f, 60.0f));
    EXPECT_EQ(ParticleSystem::kSpriteCapacity, p->GetSpriteCount());

    // Hit debris comes from large targets far more often than from small.
    std::unique_ptr<ParticleSystem> small = NewSystem();
    std::unique_ptr<ParticleSystem> large = NewSystem();
    for (int i = 0; i < 150; ++i)
    {
        small->AddHitDebris(Vector2(), 0.0f, Vector2(2.94f, 2.94f), 0, false);
        large->AddHitDebris(Vector2(), 0.0f, Vector2(60.0f, 32.0f), 0, false);
        small->Update();
        large->Update();
    }
    EXPECT_LT(small->GetSpriteCount(), large->GetSpriteCount());
}

} // namespace
