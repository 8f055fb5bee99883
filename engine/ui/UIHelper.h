// What the game's widgets and screens share: the two widget faces cached by
// pixel size (plain and outline), one geometry batch that widgets fill while
// drawing and that is drawn once per frame after the whole UI, and numbers
// written with thousands separators. InitUIHelper runs once the UI manager
// has started and before the first screen is made. Main thread only.
#pragma once

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Graphics
{
namespace Geometry
{
class TransientBatch;
}
namespace Type
{
class IFont;
}
} // namespace Graphics
} // namespace Vexel

// Preloads the plain font at size 16 and hooks the shared widget batch to
// UIManager::AfterDraw. Runs once; an earlier GetFont(16) does not count.
void InitUIHelper();

// The cached font of that exact size, made on first request; Load runs on
// every call (it finishes the metrics once the face is there). The caches own
// the fonts: never delete them.
Vexel::Graphics::Type::IFont* GetFont(float size);
Vexel::Graphics::Type::IFont* GetOutlineFont(float size);

// Geometry added here is drawn after every root of the UI, in UI coordinates.
Vexel::Graphics::Geometry::TransientBatch* GetTransientBatch();

// "1,234,567"; "0" for zero; "-1,000" for -1000.
std::string FormatWithThousands(int64_t value);

// The face files of the two caches.
extern const char* const kUIFontFile;        // "SegoeUI_24pt.type"
extern const char* const kUIOutlineFontFile; // "SegoeUI_24pt_outline.type"

// Makes the fonts of the caches: Type::CreateFont unless replaced (tests hand
// in fonts of known metrics). Null restores CreateFont. Affects fonts made
// from then on.
typedef Vexel::Graphics::Type::IFont* (*UIFontFactory)(std::string const& fileName, float size);
void SetUIFontFactory(UIFontFactory factory);

// Unhooks the shared batch, drops what it holds and deletes the cached fonts,
// so that InitUIHelper can run again. For a clean exit and for tests; fonts
// handed out before are gone.
void ShutdownUIHelper();
