#include <gtest/gtest.h>

#include <QTest>

#include "keypad/key_focus.h"
#include "keypad/keypad.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

TEST(KeyFocus, TabWalksTheKeysInReadingOrderPastTheHiddenPlaceAndWraps)
{
    struct Case {
        int from;
        bool forward;
        int to;
    };
    for (const Case& c :
         {Case{0, true, kKeyExp}, Case{0, false, kKeyPlus}, Case{kKeyExp, true, kKeyTenPower}, Case{kKeyF, true, kKey0},
          Case{kKey0, false, kKeyF}, Case{kKeyPlus, true, kKeyExp}, Case{kKeyExp, false, kKeyPlus},
          Case{kKeyEnterLowerHalf, true, kKey1}, Case{kKeyEnterLowerHalf, false, kKeyLastX}})
        EXPECT_EQ(KeyInTabOrder(c.from, c.forward), c.to) << c.from << (c.forward ? " forward" : " backward");
}

// ENTER reached along the bottom row is the place it covers there, so the
// next step sideways stays in that row.
TEST(KeyFocus, ArrowsFollowTheFaceWithEnterCoveringTwoRowsAndStopAtTheEdges)
{
    struct Case {
        int from;
        KeyDirection direction;
        int to;
    };
    using enum KeyDirection;
    for (const Case& c :
         {Case{0, Down, kKeyExp}, Case{kKeyExp, Right, kKeyTenPower}, Case{kKeyTenPower, Right, kKeySin},
          Case{kKeyF, Right, kKeyEnterLowerHalf}, Case{kKeyEnterLowerHalf, Right, kKey0},
          Case{kKey0, Left, kKeyEnterLowerHalf}, Case{kKeyEnterLowerHalf, Left, kKeyF},
          Case{kKeyEnterLowerHalf, Up, kKeyChs}, Case{kKeyEnterLowerHalf, Down, kKeyEnterLowerHalf},
          Case{kKeyChs, Down, kKeyEnter}, Case{kKeyEnter, Up, kKeyChs}, Case{kKeyEnter, Right, kKey1},
          Case{kKeyEnter, Down, kKeyEnter}, Case{kKeyEnter, Left, kKeyLastX}, Case{kKeyLastX, Down, kKeyF},
          Case{kKeyExp, Left, kKeyExp}, Case{kKeySin, Up, kKeySin}, Case{kKeyReciprocal, Right, kKeyReciprocal},
          Case{kKeyPlus, Down, kKeyPlus}})
        EXPECT_EQ(KeyInDirection(c.from, c.direction), c.to) << c.from << " " << static_cast<int>(c.direction);
    EXPECT_EQ(KeyAtPlace(kKeyEnterLowerHalf), kKeyEnter);
    EXPECT_EQ(KeyAtPlace(kKey0), kKey0);
}

// The ring lies in the gap just outside its key.
QRgb RingPixel(const QImage& image, int code)
{
    const KeyRectangle key = KeyRect(code);
    return image.pixel(key.left - 1, key.top + 10);
}

constexpr QRgb kRingColour = qRgb(255, 150, 0);

TEST(FocusRing, AppearsOnlyOnceTheKeyboardMovesItAndFollowsTheArrows)
{
    TestWindow window;
    const QImage before = window.Paint();
    window.State().bAudibleClicks = true;
    window.Key(Qt::Key_7);
    window.TapKey(kKeyEnter);
    const std::wstring shown = window.State().DisplayText;
    EXPECT_EQ(window.View().FocusedKey(), 0) << "typing and tapping leave the face as it was";
    EXPECT_NE(RingPixel(window.Paint(), kKeyExp), kRingColour);
    EXPECT_EQ(window.Paint().copy(0, 80, 240, 188), before.copy(0, 80, 240, 188));

    window.Key(Qt::Key_Tab);
    EXPECT_EQ(window.View().FocusedKey(), kKeyExp);
    EXPECT_EQ(RingPixel(window.Paint(), kKeyExp), kRingColour);
    window.Key(Qt::Key_Right);
    window.Key(Qt::Key_Down);
    EXPECT_EQ(window.View().FocusedKey(), 8);
    const QImage moved = window.Paint();
    EXPECT_EQ(RingPixel(moved, 8), kRingColour);
    EXPECT_NE(RingPixel(moved, kKeyExp), kRingColour) << "the old ring is gone";
    window.Key(Qt::Key_Backtab);
    EXPECT_EQ(window.View().FocusedKey(), 7);
    EXPECT_EQ(window.State().DisplayText, shown) << "the navigation keys perform nothing";
    EXPECT_EQ(window.click.Plays(), 1);
}

TEST(FocusRing, PPressesTheFocusedKeyLikeATapWhileMappedKeysKeepTheirMeaning)
{
    TestWindow window;
    window.State().bAudibleClicks = true;
    window.Key(Qt::Key_2);
    window.Key(Qt::Key_P);
    EXPECT_EQ(window.State().DisplayText, std::wstring(L" 2")) << "without the ring P presses nothing";
    EXPECT_EQ(window.View().FocusedKey(), kKeyExp) << "but shows it on the first key";
    EXPECT_EQ(RingPixel(window.Paint(), kKeyExp), kRingColour);

    window.Key(Qt::Key_Tab);
    window.Key(Qt::Key_Right);
    window.Key(Qt::Key_Right);
    window.Key(Qt::Key_Right);
    ASSERT_EQ(window.View().FocusedKey(), 5);
    window.Key(Qt::Key_Return);
    window.Key(Qt::Key_Space);
    EXPECT_EQ(window.State().RegX, -2.0) << "Enter is ENTER and Space is CHS, ring or not";
    EXPECT_EQ(window.State().RegY, 2.0);
    EXPECT_EQ(window.click.Plays(), 0);

    window.Key(Qt::Key_Left);
    window.Key(Qt::Key_Left);
    window.Key(Qt::Key_Left);
    window.Key(Qt::Key_Left);
    window.Key(Qt::Key_Right);
    ASSERT_EQ(window.View().FocusedKey(), kKeyTenPower);
    window.Key(Qt::Key_P);
    EXPECT_DOUBLE_EQ(window.State().RegX, 0.01) << "10 to the -2";
    EXPECT_EQ(window.click.Plays(), 1) << "a press under the ring clicks like a tap";
    EXPECT_EQ(window.State().KeyCode, 0);
    window.Key(Qt::Key_P, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(window.State().RegX, 0.01) << "Ctrl+P is no press";
}

// The route across ENTER keeps to the row it came along. The mouse hides the
// ring; P shows it again where it was, and an arrow moves on from there.
TEST(FocusRing, CrossesEnterInItsRowAndHidesWhenTheMouseIsUsed)
{
    TestWindow window;
    window.Key(Qt::Key_Tab);
    for (int step = 0; step < 4; ++step)
        window.Key(Qt::Key_Down);
    ASSERT_EQ(window.View().FocusedKey(), kKeyF);
    window.Key(Qt::Key_Right);
    EXPECT_EQ(window.View().FocusedKey(), kKeyEnter);
    window.Key(Qt::Key_Right);
    EXPECT_EQ(window.View().FocusedKey(), kKey0);
    window.Key(Qt::Key_7);
    window.Key(Qt::Key_P);
    EXPECT_EQ(window.State().DisplayText, std::wstring(L" 70"));

    window.TapKey(kKey5);
    EXPECT_EQ(window.View().FocusedKey(), 0);
    EXPECT_NE(RingPixel(window.Paint(), kKey0), kRingColour) << "the ring is gone after a tap";
    window.Key(Qt::Key_P);
    EXPECT_EQ(window.View().FocusedKey(), kKey0);
    EXPECT_EQ(RingPixel(window.Paint(), kKey0), kRingColour);
    EXPECT_EQ(window.State().DisplayText, std::wstring(L" 705")) << "P only showed the ring";
    window.TapKey(kKey1);
    window.Key(Qt::Key_Right);
    EXPECT_EQ(window.View().FocusedKey(), kKeyPoint);
    EXPECT_EQ(RingPixel(window.Paint(), kKeyPoint), kRingColour);
    EXPECT_EQ(window.State().DisplayText, std::wstring(L" 7051"));
}

}  // namespace
}  // namespace rpn::test
