#pragma once

#include "engine/calc_state.h"
#include "platform/qt/surface.h"

namespace rpn {

// The display strip, drawn over the face at every paint from the state that
// UpdateDisplay left; nothing is changed. The view calls the three steps in
// this order, after the face and the pressed key. Each reads the display's
// background colour from the drawn face at (19, 13), so the text boxes
// follow the face's brightness.
void DrawMainNumber(const CalcState& state, Surface& surface);
void DrawStackAndModes(const CalcState& state, Surface& surface);
void DrawPrefixIndicators(const CalcState& state, Surface& surface);

void DrawDisplay(const CalcState& state, Surface& surface);

// Where the steps draw, in face pixels.
inline constexpr int kDisplayBackgroundX = 19;
inline constexpr int kDisplayBackgroundY = 13;
inline constexpr int kMainLineX = 28;
inline constexpr int kMainLineY = 11;
inline constexpr int kMainLineCellWidth = 17;
// The display strip: no step draws outside the face's rows above this one, so
// a change of the display alone repaints only that band.
inline constexpr int kDisplayStripBottom = 72;

}  // namespace rpn
