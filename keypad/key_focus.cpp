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

}  // namespace

int KeyAtPlace(int place)
{
    return place == kCoveredByEnter ? kKeyEnter : place;
}

int KeyInTabOrder(int place, bool forward)
{
    int code = KeyAtPlace(place);
    if (!IsKey(code))
        return forward ? kFirstKey : kKeyCount;
    const int step = forward ? 1 : -1;
    do
        code = (code - 1 + step + kKeyCount) % kKeyCount + 1;
    while (!IsKey(code));
    return code;
}

int KeyInDirection(int place, KeyDirection direction)
{
    if (place < 1 || place > kKeyCount)
        return kFirstKey;
    int row = (place - 1) / kColumns;
    int column = (place - 1) % kColumns;
    const int rowStep = direction == KeyDirection::Up ? -1 : direction == KeyDirection::Down ? 1 : 0;
    const int columnStep = direction == KeyDirection::Left ? -1 : direction == KeyDirection::Right ? 1 : 0;
    // Going down from ENTER passes the place it covers.
    while (true) {
        row += rowStep;
        column += columnStep;
        if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
            return place;
        if (const int next = row * kColumns + column + 1; KeyAtPlace(next) != KeyAtPlace(place))
            return next;
    }
}

}  // namespace rpn
