#pragma once

namespace rpn {

// Moving the keyboard focus over the face's keys. The focus is on a place of
// the grid: a key code, except that 26, which ENTER covers, is ENTER reached
// along the bottom row, so that going on sideways stays in it. From 0, no
// key yet, every move lands on the first key (backwards, the last).
enum class KeyDirection { Left, Right, Up, Down };

// The key at a place: ENTER for 26, else the place itself.
int KeyAtPlace(int place);
// The next or previous key in reading order, wrapping around.
int KeyInTabOrder(int place, bool forward);
// The place beside `place` on the face in that direction, past the rest of
// a key that covers two; at an edge the focus stays where it is.
int KeyInDirection(int place, KeyDirection direction);

}  // namespace rpn
