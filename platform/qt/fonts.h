#pragma once

#include <string_view>

namespace rpn {

// The display asks for the faces "Tohoma" and "System"; they are drawn with
// DejaVu Sans (condensed for "Tohoma"), from Debian's fonts-dejavu-core and
// fonts-dejavu-extra. The application calls this once before the first
// paint; it changes Qt's font substitution table of this process only.
void InstallFontSubstitutions();

// The weight to draw a face in when the display asks for `weight`. "System"
// is a face of one weight on the handheld, whatever weight is asked for;
// taken literally, its light steps would pick DejaVu Sans ExtraLight, whose
// hairlines leave the small grey lines and the indicators faint.
int SubstituteWeight(std::wstring_view faceName, int weight);

// The largest pixel size at which those faces' character cell (ascent plus
// descent, each rounded to whole pixels) is at most `cellHeight` pixels,
// worked out from their metrics rather than by loading the font at sizes.
int PixelSizeForCell(int cellHeight);

}  // namespace rpn
