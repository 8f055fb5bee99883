#include "engine/core/BackKeyEvent.h"

namespace Vexel
{
namespace App
{

Event<> BackKeyPressed;

} // namespace App
} // namespace Vexel
