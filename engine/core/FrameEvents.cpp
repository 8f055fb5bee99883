#include "engine/core/FrameEvents.h"

namespace Vexel
{

ConcurrentEvent<float> FrameEvents::Updating;
ConcurrentEvent<float> FrameEvents::Animating;
ConcurrentEvent<Vexel::Rectangle> FrameEvents::BeforeDraw;
ConcurrentEvent<Vexel::Rectangle> FrameEvents::AfterDraw;

} // namespace Vexel
