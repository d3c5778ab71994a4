#include "keypad/key_focus.h"

#include "keypad/keypad.h"

namespace rpn {

namespace {

constexpr int kColumns = 6;
constexpr int kRows = 5;
constexpr int kCoveredByEnter = kKeyEnterLowerHalf;
constexpr int kFirstKey = kKeyExp;

bool IsKey(int code)
{
    return code >= 1 && code <= kKeyCount && code != kCoveredByEnter;
}

// The key at a place of the grid (rows and columns from 0).
int KeyAt(int row, int column)
{
    const int code = row * kColumns + column + 1;
    return code == kCoveredByEnter ? kKeyEnter : code;
}

}  // namespace

int KeyInTabOrder(int code, bool forward)
{
    if (!IsKey(code))
        return forward ? kFirstKey : kKeyCount;
    const int step = forward ? 1 : -1;
    do
        code = (code - 1 + step + kKeyCount) % kKeyCount + 1;
    while (!IsKey(code));
    return code;
}

int KeyInDirection(int code, KeyDirection direction)
{
    if (!IsKey(code))
        return kFirstKey;
    int row = (code - 1) / kColumns;
    int column = (code - 1) % kColumns;
    const int rowStep = direction == KeyDirection::Up ? -1 : direction == KeyDirection::Down ? 1 : 0;
    const int columnStep = direction == KeyDirection::Left ? -1 : direction == KeyDirection::Right ? 1 : 0;
    // Going down from ENTER passes the place it covers.
    while (true) {
        row += rowStep;
        column += columnStep;
        if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
            return code;
        if (const int next = KeyAt(row, column); next != code)
            return next;
    }
}

}  // namespace rpn
