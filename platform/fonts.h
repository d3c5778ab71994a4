#pragma once

namespace rpn {

// The display asks for the faces "Tohoma" and "System"; they are drawn with
// DejaVu Sans (condensed for "Tohoma"), from Debian's fonts-dejavu-core. The application calls this once before the
// first paint; it changes Qt's font substitution table of this process only.
void InstallFontSubstitutions();

}  // namespace rpn
