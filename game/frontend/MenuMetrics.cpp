#include "game/frontend/MainScreen.h"

#include <algorithm>

float MenuMetrics::Snap(float x)
{
    if (x > 1.0f && x <= 1.15f)
        return 1.0f;
    if (x > 0.5f && x <= 0.575f)
        return 0.5f;
    return x;
}

MenuMetrics MenuMetrics::Compute(float w, float h)
{
    MenuMetrics m;
    const float s = Snap(std::min(h / 960.0f, w / 640.0f));
    // Wider screens than 3:4 widen the big buttons a little.
    float f = 1.0f;
    if (w / h > 0.75f)
        f = std::min((w / h) / 0.75f, 1.0666667f);

    m.scale = s;
    m.buttonShift = Vector2(0.0f, -5.0f * s);
    m.titleBarHeight = 70.0f * s;
    m.bigButtonSize = Vector2(254.0f, 320.0f) * s * f;
    m.bigButtonCell = m.bigButtonSize + Vector2(32.0f * s, 32.0f * s);
    m.gridButtonSize = Vector2(168.0f, 240.0f) * s;
    m.gridButtonCell = m.gridButtonSize + Vector2(20.0f * s, 20.0f * s);
    m.textBlockSize = Vector2(500.0f, 82.0f) * s;
    m.buttonSize = Vector2(214.0f, 70.0f) * s;
    m.buttonCell = m.buttonSize + Vector2(-20.0f * s, 20.0f * s);
    m.tallButtonCell = m.buttonCell * Vector2(1.0f, 2.0f);
    m.wideButtonSize = Vector2(214.0f, 160.0f) * s;
    m.wideButtonCell = m.tallButtonCell * Vector2(1.08f, 1.0f);
    m.panelSize = Vector2(234.0f, 160.0f) * s;
    m.bottomButtonPosition = Vector2(m.buttonCell.x, 0.0f);
    m.wideRowSize = Vector2(400.0f, 90.0f) * s;
    m.wideRowCell = m.wideRowSize + Vector2(-20.0f * s, 20.0f * s);
    m.descriptionSize = Vector2(384.0f, 128.0f) * s;

    const float content = std::min((h - m.buttonCell.y - m.titleBarHeight) / 800.0f, w / 640.0f);
    m.contentScale = Snap(content);
    return m;
}
