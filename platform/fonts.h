#pragma once

namespace rpn {

// The display asks for the faces "Tohoma" and "System"; both are drawn with
// DejaVu Sans. The application calls this once before the first paint; it
// changes Qt's font substitution table of this process only.
void InstallFontSubstitutions();

}  // namespace rpn
