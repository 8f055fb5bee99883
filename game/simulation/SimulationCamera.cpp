// The self-framing camera: what it wants in view and how its springs move
// the view towards it. No GL here, so touch mapping and the camera's tests
// run without a window; Draw calls StepCamera once per frame.
#include "game/simulation/Simulation.h"

#include <algorithm>
#include <cmath>

namespace
{
// Zooming in is slow, zooming out quick, so a newcomer at the edge is never
// left off screen for long.
const float kZoomInRate = 0.0026f;
const float kZoomOutRate = 0.12f;
const float kVelocityKeep = 0.94f;
const float kZoomFollow = 0.15f;
const float kPanMaxStep = 6.2f;
const float kPanRate = 0.08f;

// A velocity component driven against its sign starts again from rest.
float ResetAgainst(float velocity, float drive)
{
    return (velocity > 0.0f && drive < 0.0f) || (velocity < 0.0f && drive > 0.0f) ? 0.0f : velocity;
}
} // namespace

float Simulation::SpringStep(float current, float target, float maxStep, float rate)
{
    return current + std::min(std::max((target - current) * rate, -maxStep), maxStep);
}

Vexel::Rectangle Simulation::ComputeViewBounds() const
{
    const bool empty = enemyCount == 0 && followerCount == 0 && blockerCount == 0;
    const float base = empty ? 1.1f : 0.4f;
    const float zoom = mode == GameMode::Tutorial ? 3.2f : (IsGauntletWon() ? 3.8f : 1.2f);
    const float half = 20.0f * base * zoom;
    Vexel::Rectangle bounds(-half, -half, 2.0f * half, 2.0f * half);

    const Enemy* arrays[3] = {enemies, followers, blockers};
    const int counts[3] = {enemyCount, followerCount, blockerCount};
    for (int a = 0; a < 3; a++)
        for (int i = 0; i < counts[a]; i++)
        {
            Enemy const& enemy = arrays[a][i];
            // One enemy thrown out of the world must not take the view along.
            if (!std::isfinite(enemy.position.x) || !std::isfinite(enemy.position.y))
                continue;
            EnemyType const& type = enemy.GetType();
            bounds.Union(Vexel::Rectangle(enemy.position.x - type.viewMargin,
                                          enemy.position.y - type.viewMargin, type.viewSpan, type.viewSpan));
        }
    if (!IsGameOver())
        for (AimMark const& mark : aimMarks)
            if (mark.fromTouch == 0 && mark.highlighted != 0 && std::isfinite(mark.position.x) &&
                std::isfinite(mark.position.y))
                bounds.Union(Vexel::Rectangle(mark.position.x, mark.position.y, 0.0f, 0.0f));

    const float growX = bounds.width * 0.036f;
    const float growY = bounds.height * 0.036f;
    bounds.x -= growX;
    bounds.y -= growY;
    bounds.width += bounds.width * 0.072f;
    bounds.height += bounds.height * 0.072f;
    return bounds;
}

void Simulation::StepCamera(ViewFrame& view, float& zoomVelocity, Vector2& panVelocity,
                            Vexel::Rectangle const& bounds, Vexel::Rectangle const& area)
{
    // A zero-sized area fits nothing: the scale only falls to its floor.
    float fit = std::min(area.width / bounds.width, area.height / bounds.height);
    if (!std::isfinite(fit) || fit < 0.0f)
        fit = 0.0f;
    if (!std::isfinite(view.scale) || view.scale < kMinimumViewScale)
        view.scale = kMinimumViewScale;
    // Springs that went non-finite start again from rest at the planet.
    if (!std::isfinite(view.position.x) || !std::isfinite(view.position.y))
        view.position = Vector2(0.0f, 0.0f);
    if (!std::isfinite(zoomVelocity))
        zoomVelocity = 0.0f;
    if (!std::isfinite(panVelocity.x) || !std::isfinite(panVelocity.y))
        panVelocity = Vector2(0.0f, 0.0f);

    const Vector2 desired = -bounds.Center() * view.scale;
    const float accel = (fit - view.scale) * (view.scale < fit ? kZoomInRate : kZoomOutRate);
    float t = fit > 0.0f ? std::min(std::max(view.scale / fit, 0.0f), 1.0f) : 1.0f;
    t *= t;
    const Vector2 delta = (desired - view.position) * (t * 0.0632f + 0.0008f);

    zoomVelocity = ResetAgainst(zoomVelocity, accel);
    panVelocity.x = ResetAgainst(panVelocity.x, delta.x);
    panVelocity.y = ResetAgainst(panVelocity.y, delta.y);

    zoomVelocity += (accel - zoomVelocity) * kZoomFollow;
    zoomVelocity *= kVelocityKeep;
    panVelocity.x = SpringStep(panVelocity.x, delta.x, kPanMaxStep, kPanRate);
    panVelocity.y = SpringStep(panVelocity.y, delta.y, kPanMaxStep, kPanRate);
    panVelocity *= kVelocityKeep;

    view.scale += zoomVelocity;
    if (!(view.scale >= kMinimumViewScale))
        view.scale = kMinimumViewScale;
    view.position += panVelocity;
}

void Simulation::StepCamera(Vexel::Rectangle const& area)
{
    view.halfSize = area.Size() * 0.5f;
    StepCamera(view, zoomVelocity, panVelocity, ComputeViewBounds(), area);
}
