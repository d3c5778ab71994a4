#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMenu>
#include <QTest>

#include "engine/dispatch.h"
#include "face/brightness.h"
#include "face/command_ids.h"
#include "platform/qt/menu_actions.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

const QPoint kGap{41, 100};
const QPoint kDisplay{120, 50};

bool SameRectangle(const QImage& a, const QImage& b, const KeyRectangle& r)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

TEST(ViewTaps, DownAndUpOnTheSameKeyPerformsItOnceWithAClick)
{
    TestWindow window;
    window.State().bAudibleClicks = true;
    const QImage pressed = AsShown(ResourcePictures().pressed);
    const QImage normal = AsShown(ResourcePictures().normal);

    window.Down(TestWindow::KeyCentre(kKey7));
    EXPECT_EQ(window.State().KeyCode, kKey7);
    const QImage duringPress = window.Paint();
    EXPECT_TRUE(SameRectangle(duringPress, pressed, KeyRect(kKey7)));
    EXPECT_FALSE(SameRectangle(duringPress, pressed, KeyRect(kKey8)));
    EXPECT_EQ(window.click.Plays(), 0) << "the click belongs to the release";

    window.Up(TestWindow::KeyCentre(kKey7));
    EXPECT_EQ(window.click.Plays(), 1);
    EXPECT_EQ(window.State().KeyCode, 0);
    EXPECT_EQ(window.State().DisplayText, L" 7");
    EXPECT_TRUE(SameRectangle(window.Paint(), normal, KeyRect(kKey7))) << "pressed look removed at pen-up";
}

TEST(ViewTaps, SlidingOffAKeyCancelsThePress)
{
    TestWindow window;
    window.State().bAudibleClicks = true;
    const std::wstring before = window.State().DisplayText;
    for (const QPoint end : {TestWindow::KeyCentre(kKey8), kGap}) {
        window.Down(TestWindow::KeyCentre(kKey7));
        window.Up(end);
        EXPECT_EQ(window.State().DisplayText, before);
        EXPECT_EQ(window.State().KeyCode, 0);
    }
    window.Down(kGap);
    window.Up(TestWindow::KeyCentre(kKey7));
    EXPECT_EQ(window.State().DisplayText, before) << "down in a gap, up on a key";
    EXPECT_EQ(window.click.Plays(), 0);
}

TEST(ViewTaps, ATapOffTheKeysCancelsFAndPrefixesWithoutAClick)
{
    TestWindow window;
    window.State().bAudibleClicks = true;
    window.TapKey(kKeyF);
    ASSERT_TRUE(window.State().FunctionMode);
    window.Down(kGap);
    EXPECT_EQ(window.State().KeyCode, 0);
    window.Up(kGap);
    EXPECT_FALSE(window.State().FunctionMode);

    window.TapKey(kKeyF);
    window.TapKey(kKey0);
    ASSERT_EQ(window.State().SuperMode, L"STO");
    window.Tap(kDisplay);
    EXPECT_EQ(window.State().SuperMode, L"");
    EXPECT_EQ(window.click.Plays(), 3);
}

TEST(ViewTaps, ADoubleTapIsTwoPresses)
{
    TestWindow window;
    window.State().bAudibleClicks = true;
    window.DoubleTapKey(kKey7);
    EXPECT_EQ(window.State().DisplayText, L" 77");
    EXPECT_EQ(window.click.Plays(), 2);
}

TEST(ViewTaps, ClicksOffTapsStillWork)
{
    TestWindow window;
    window.State().bAudibleClicks = false;
    window.TapKey(kKey7);
    window.TapKey(kKeyEnter);
    window.TapKey(kKey3);
    window.TapKey(kKeyPlus);
    EXPECT_EQ(window.State().RegX, 10.0);
    EXPECT_EQ(window.click.Plays(), 0);
}

TEST(ViewTaps, EnterIsPressedDownToItsLowestRowAndShownSeventyPixelsTall)
{
    TestWindow window;
    window.Down({50, 264});
    EXPECT_EQ(window.State().KeyCode, kKeyEnter);
    const KeyRectangle enter = KeyRect(kKeyEnter);
    EXPECT_EQ(enter.bottom - enter.top, 70);
    EXPECT_TRUE(SameRectangle(window.Paint(), AsShown(ResourcePictures().pressed), enter));
    window.Up({50, 264});
    EXPECT_EQ(window.State().KeyCode, 0);
}

TEST(ViewTaps, AnEnlargedWindowScalesTheFaceAndMapsTapsBack)
{
    TestWindow window;
    window.Frame().resize(window.Frame().width() + 240, window.Frame().height() + 268);
    QTest::qWait(0);
    ASSERT_GE(window.View().width(), 480);
    const QPoint inside = window.View().WidgetPoint(TestWindow::KeyCentre(kKey7));
    EXPECT_EQ(window.View().FacePoint(inside), TestWindow::KeyCentre(kKey7));
    EXPECT_GT(inside.x(), 2 * TestWindow::KeyCentre(kKey7).x() - 10);
    window.TapKey(kKey7);
    EXPECT_EQ(window.State().DisplayText, L" 7");
}

// Keys and taps repaint only the display band and the key's rectangle; what
// the event loop's paints leave in the window must still be the whole face
// composed afresh: at one device pixel per face pixel, and at one and a half,
// where device pixels straddle the edges of what a paint composes.
TEST(ViewRepaint, PartialPaintsLeaveTheWholeFaceAsComposedAfresh)
{
    for (const int halves : {2, 3}) {
        TestWindow window;
        const QSize enlarged = QSize(kFaceWidth, kFaceHeight) * (halves - 2) / 2;
        window.Frame().resize(window.Frame().size() + enlarged);
        QCoreApplication::processEvents();
        ASSERT_EQ(window.View().size(), QSize(kFaceWidth, kFaceHeight) * halves / 2);
        const auto settle = [&window, halves] {
            QCoreApplication::processEvents();
            const QImage shown = window.Shown();
            return shown == window.Paint() && (halves != 2 || shown == window.View().ComposeBackBuffer());
        };
        ASSERT_TRUE(settle());
        for (const Qt::Key key : {Qt::Key_7, Qt::Key_Period, Qt::Key_5, Qt::Key_Return}) {
            QTest::keyClick(&window.View(), key);
            EXPECT_TRUE(settle()) << key << " at " << halves << " halves";
        }
        const QPoint key8 = window.View().WidgetPoint(TestWindow::KeyCentre(kKey8));
        QTest::mousePress(&window.View(), Qt::LeftButton, Qt::NoModifier, key8);
        EXPECT_TRUE(settle()) << "pressed";
        if (halves == 2) {
            EXPECT_TRUE(SameRectangle(window.Shown(), AsShown(ResourcePictures().pressed), KeyRect(kKey8)));
        }
        QTest::mouseRelease(&window.View(), Qt::LeftButton, Qt::NoModifier, key8);
        EXPECT_TRUE(settle()) << "released";
        EXPECT_EQ(window.State().Integer, L"8") << "the tap was performed";
        window.Execute(command::BrightnessFirst);
        EXPECT_TRUE(settle()) << "darker face";
        QTest::keyClick(&window.View(), Qt::Key_Escape);
        EXPECT_TRUE(settle()) << "cleared";
    }
}

// A window one pixel wider than the face puts it half a pixel in: the display
// band, composed apart, and the face below it must land on the same column.
TEST(ViewRepaint, AFaceHalfAPixelInShowsTheBandInLineWithTheRest)
{
    TestWindow window;
    window.Frame().resize(window.Frame().width() + 1, window.Frame().height());
    QCoreApplication::processEvents();
    ASSERT_EQ(window.View().width(), kFaceWidth + 1);
    window.Key(Qt::Key_7);
    QCoreApplication::processEvents();
    const QImage shown = window.Shown();
    const QImage composed = window.View().ComposeBackBuffer();
    const bool atZero = shown.copy(0, 0, kFaceWidth, kFaceHeight) == composed;
    const bool atOne = shown.copy(1, 0, kFaceWidth, kFaceHeight) == composed;
    EXPECT_TRUE(atZero || atOne);
}

// The pad's keys and the main row's operators, by the key and the text the
// test's key events carry.
TEST(ViewKeyboard, ReleasesPerformTheirKeysOnThePadAndTheMainRow)
{
    TestWindow window;
    window.Key(Qt::Key_7);
    window.Key(Qt::Key_Return);
    window.Key(Qt::Key_3, Qt::KeypadModifier);
    window.Key(Qt::Key_Plus);
    EXPECT_EQ(window.State().RegX, 10.0) << "the main-row + adds";
    window.Key(Qt::Key_4);
    window.Key(Qt::Key_Asterisk, Qt::ShiftModifier);
    EXPECT_EQ(window.State().RegX, 40.0) << "Shift+8 multiplies";
    window.Key(Qt::Key_2, Qt::KeypadModifier);
    window.Key(Qt::Key_Slash, Qt::KeypadModifier);
    window.Key(Qt::Key_5);
    window.Key(Qt::Key_Minus);
    EXPECT_EQ(window.State().RegX, 15.0);
    EXPECT_EQ(window.State().KeyCode, 0);
    EXPECT_EQ(window.click.Plays(), 0) << "keyboard input makes no click";
}

void Send(QWidget& view, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
          bool autoRepeat = false, quint32 scanCode = 0)
{
    QKeyEvent event(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
    QCoreApplication::sendEvent(&view, &event);
}

TEST(ViewKeyboard, EachReleasePerformsItsKeyOnceAndAutoRepeatIsIgnored)
{
    TestWindow window;
    Send(window.View(), QEvent::KeyPress, Qt::Key_7);
    Send(window.View(), QEvent::KeyRelease, Qt::Key_7, Qt::NoModifier, true);
    Send(window.View(), QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, true);
    EXPECT_FALSE(window.State().EntryMode) << "nothing happens before the real release";
    Send(window.View(), QEvent::KeyRelease, Qt::Key_7);
    Send(window.View(), QEvent::KeyRelease, Qt::Key_7);
    EXPECT_EQ(window.State().DisplayText, L" 7");
}

TEST(ViewKeyboard, ReleasesWhosePressWentElsewhereAreIgnored)
{
    TestWindow window;
    window.Key(Qt::Key_4);
    window.Key(Qt::Key_Return);
    // The Escape that closed a menu, the Enter that confirmed a dialog.
    Send(window.View(), QEvent::KeyRelease, Qt::Key_Escape);
    Send(window.View(), QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(window.State().RegX, 4.0);
    EXPECT_EQ(window.State().RegY, 4.0);
    EXPECT_EQ(window.State().RegZ, 0.0);
    // An Alt access key, released after Alt.
    Send(window.View(), QEvent::KeyPress, Qt::Key_F, Qt::AltModifier);
    Send(window.View(), QEvent::KeyRelease, Qt::Key_F);
    EXPECT_FALSE(window.State().FunctionMode);
    // A press before the view lost the focus.
    Send(window.View(), QEvent::KeyPress, Qt::Key_F);
    QFocusEvent focusOut(QEvent::FocusOut);
    QCoreApplication::sendEvent(&window.View(), &focusOut);
    Send(window.View(), QEvent::KeyRelease, Qt::Key_F);
    EXPECT_FALSE(window.State().FunctionMode);
    window.Key(Qt::Key_F);
    EXPECT_TRUE(window.State().FunctionMode);
}

// Shift may come up before the key: what the press typed decides, an
// operator or the digit of a digit-row key that types none.
TEST(ViewKeyboard, ShiftedDigitRowKeysAreWhatThePressTyped)
{
    TestWindow window;
    const auto send = [&window](QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers, const char* text,
                                quint32 scanCode) {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0, QString::fromLatin1(text));
        QCoreApplication::sendEvent(&window.View(), &event);
    };
    window.Key(Qt::Key_6);
    window.Key(Qt::Key_Return);
    send(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, "!", 10);
    send(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, "1", 10);
    EXPECT_EQ(window.State().DisplayText, L" 1");
    send(QEvent::KeyPress, Qt::Key_Asterisk, Qt::ShiftModifier, "*", 17);
    send(QEvent::KeyRelease, Qt::Key_8, Qt::NoModifier, "8", 17);
    EXPECT_EQ(window.State().RegX, 6.0) << "Shift+8 multiplied though Shift came up first";
    EXPECT_FALSE(window.State().EntryMode);
}

TEST(ViewKeyboard, EscapeWithAPendingStoKeepsThePrefix)
{
    TestWindow window;
    window.Key(Qt::Key_5);
    window.Key(Qt::Key_Return);
    window.State().RegS[4] = 9.0;
    window.State().RegLstX = 2.0;
    window.Key(Qt::Key_F);
    window.Key(Qt::Key_0);
    ASSERT_EQ(window.State().SuperMode, L"STO");
    window.Key(Qt::Key_Escape);
    EXPECT_EQ(window.State().SuperMode, L"STO");
    EXPECT_EQ(window.State().DisplayText, L" 0000000 00");
    EXPECT_EQ(window.State().RegX, 0.0);
    EXPECT_EQ(window.State().RegY, 0.0);
    EXPECT_EQ(window.State().RegS[4], 0.0);
    EXPECT_EQ(window.State().RegLstX, 2.0);
}

TEST(ViewBrightness, AdjustsTheFaceButNeverThePressedKey)
{
    TestWindow window;
    const QImage normal = ResourcePictures().normal.convertToFormat(kFacePixelFormat);
    const QImage pressed = AsShown(ResourcePictures().pressed);

    window.Execute(command::BrightnessLast);
    EXPECT_EQ(window.State().Brightness, 4);
    QImage brighter = normal;
    AdjustBrightness(brighter, 4);
    window.Down(TestWindow::KeyCentre(kKey7));
    const QImage shown = window.Paint();
    window.Up(kGap);
    const KeyRectangle other = KeyRect(kKey0);
    EXPECT_EQ(shown.pixel(other.left + 3, other.top + 3), brighter.pixel(other.left + 3, other.top + 3));
    EXPECT_NE(shown.pixel(other.left + 3, other.top + 3), AsShown(normal).pixel(other.left + 3, other.top + 3));
    EXPECT_TRUE(SameRectangle(shown, pressed, KeyRect(kKey7)));

    // The display's flat colour, 180, 241, 235, is white at 4 and dark at -4.
    EXPECT_EQ(shown.pixel(19, 13), qRgb(255, 255, 255));
    window.Execute(command::BrightnessFirst);
    const QImage darker = window.Paint();
    EXPECT_EQ(darker.pixel(19, 13), AsShown(window.View().FaceBitmap()).pixel(19, 13));
    EXPECT_EQ(qRed(darker.pixel(19, 13)) >> 3, 22 - 15);
    EXPECT_EQ(qGreen(darker.pixel(19, 13)) >> 3, 30 - 15);
    EXPECT_EQ(qBlue(darker.pixel(19, 13)) >> 3, 29 - 15);
    // The blank sign cell of the main line is a text box in the display colour.
    EXPECT_EQ(darker.pixel(30, 14), darker.pixel(19, 13));
}

TEST(ViewBrightness, IsRebuiltFromThePictureEachTimeAndMarksOneItem)
{
    TestWindow window;
    window.Execute(command::BrightnessFirst);
    window.Execute(command::BrightnessLast);
    const QImage afterBoth = window.View().FaceBitmap();
    window.Execute(command::BrightnessZero);
    window.Execute(command::BrightnessLast);
    EXPECT_EQ(window.View().FaceBitmap(), afterBoth);
    window.Execute(command::BrightnessZero);
    EXPECT_EQ(window.View().FaceBitmap(), ResourcePictures().normal.convertToFormat(kFacePixelFormat));

    int marked = 0;
    for (QAction* action : window.Frame().BrightnessMenu()->actions())
        if (action->isChecked()) {
            ++marked;
            EXPECT_EQ(CommandId(*action), command::BrightnessZero);
        }
    EXPECT_EQ(marked, 1);
}

}  // namespace
}  // namespace rpn::test
