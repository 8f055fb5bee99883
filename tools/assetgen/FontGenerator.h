// The game's two bitmap fonts, rendered with FreeType from DejaVu Sans and
// written as ".type" files with the engine's own bit writer:
// "SegoeUI_24pt.type" (the plain face) and "SegoeUI_24pt_outline.type" (a
// ring around every glyph, in the same cell of a texture of the same size,
// with byte-identical metrics, glyph, character-map and kerning tables, so
// the widgets can draw the plain face's quads again with the outline
// texture).
#pragma once

#include <string>

// The faces are rendered at 48 px, twice the largest size most texts are
// drawn at on a 640x960 screen, so text is drawn at or below the face's own
// size and never magnified into a smudge. DejaVu Sans is wider and taller
// than the face the layouts were drawn for (titles rose out of their bars,
// row labels wrapped), so its glyphs are rendered a little narrower and
// shorter inside that face.
const int kFontNominalSize = 48;
const int kFontRenderWidth = 40;
const int kFontRenderHeight = 40;

// The vertical offset is the ascent less this many face pixels: text laid
// out from its baseline (the page titles) sits that much lower, which
// centres a title's ink, capitals to descenders, in its bar. Texts laid out
// from their line top do not move.
const int kFontBaselineDrop = 4;

// The path of DejaVu Sans as fontconfig finds it, else Debian's usual path.
std::string FindFontFile();

// Writes both files into the directory (which must exist). False, with a
// message on stderr, when the font cannot be found or a file not written.
bool GenerateFonts(std::string const& outputDirectory);
