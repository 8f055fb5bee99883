// Built into vexel_graphics: textures subscribe to Animating, and graphics must not depend on the UI library.
#include "engine/ui/UIManager.h"

namespace Vexel
{
namespace UI
{

ConcurrentEvent<float> UIManager::Updating;
ConcurrentEvent<float> UIManager::Animating;
ConcurrentEvent<Vexel::Rectangle> UIManager::BeforeDraw;
ConcurrentEvent<Vexel::Rectangle> UIManager::AfterDraw;

} // namespace UI
} // namespace Vexel
