#pragma once

namespace rpn {

// Moving the keyboard focus over the face's keys, for keys the keyboard
// table leaves unmapped. Codes are key codes; 0 stands for "no key has the
// focus yet", from where every move lands on the first key (or, going
// backwards through the tab order, the last). ENTER covers its lower
// neighbour's place, so that place is ENTER too, and code 26 never results.
enum class KeyDirection { Left, Right, Up, Down };

// The next or previous key in reading order, wrapping around.
int KeyInTabOrder(int code, bool forward);
// The key beside `code` on the face in that direction; at an edge the focus
// stays where it is.
int KeyInDirection(int code, KeyDirection direction);

}  // namespace rpn
