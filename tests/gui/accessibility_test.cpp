#include "face/accessibility.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QSet>
#include <QTest>
#include <vector>

#include "keypad/keypad.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

// The factory goes in after the application's own, as main() installs it,
// and before the window exists. Installing it again changes nothing.
struct CalculatorAccessibilityInstalled {
    CalculatorAccessibilityInstalled() { InstallCalculatorAccessibility(); }
};

class Accessibility : public ::testing::Test, private CalculatorAccessibilityInstalled {
protected:
    QAccessibleInterface* View() { return QAccessible::queryAccessibleInterface(&window.View()); }
    QAccessibleInterface* Display() { return View()->child(0); }
    QAccessibleInterface* KeyNamed(const QString& name)
    {
        for (int index = 0; index < View()->childCount(); ++index)
            if (View()->child(index)->text(QAccessible::Name) == name)
                return View()->child(index);
        return nullptr;
    }
    void Tap(std::initializer_list<int> codes)
    {
        for (const int code : codes)
            window.TapKey(code);
    }
    QString Reading() { return Display()->text(QAccessible::Value); }

    TestWindow window;
};

TEST_F(Accessibility, TheViewIsAGroupOfTheDisplayAndTwentyNineButtonsNamedAfterTheirLegends)
{
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(View()->role(), QAccessible::Grouping);
    ASSERT_EQ(View()->childCount(), 30);
    EXPECT_EQ(Display()->role(), QAccessible::StaticText);
    EXPECT_EQ(Display()->text(QAccessible::Name), QStringLiteral("Display"));

    QSet<QString> names;
    for (int index = 1; index < View()->childCount(); ++index) {
        QAccessibleInterface* key = View()->child(index);
        EXPECT_EQ(key->role(), QAccessible::Button);
        EXPECT_EQ(key->parent(), View());
        EXPECT_EQ(View()->indexOfChild(key), index);
        EXPECT_FALSE(key->text(QAccessible::Description).isEmpty()) << key->text(QAccessible::Name).toStdString();
        names.insert(key->text(QAccessible::Name));
    }
    EXPECT_EQ(names.size(), 29) << "every key has a name of its own";

    QAccessibleInterface* sine = KeyNamed(QStringLiteral("SIN, shifted: SIN⁻¹"));
    ASSERT_NE(sine, nullptr);
    EXPECT_EQ(sine->text(QAccessible::Description), QStringLiteral("sine; shifted: arc sine"));
    ASSERT_NE(KeyNamed(QStringLiteral("ENTER, shifted: RAN#")), nullptr);
    EXPECT_EQ(KeyNamed(QStringLiteral("eˣ, shifted: LN"))->text(QAccessible::Description),
              QStringLiteral("e to the x; shifted: natural logarithm"));
    ASSERT_NE(KeyNamed(QStringLiteral("F")), nullptr) << "F has no shifted legend";
    EXPECT_TRUE(KeyName(kKeyEnterLowerHalf).isEmpty());
}

TEST_F(Accessibility, KeysSitWhereTheFaceDrawsThemAndHitTestingFindsThem)
{
    QAccessibleInterface* sine = KeyNamed(KeyName(kKeySin));
    const QRect rectangle = sine->rect();
    const KeyRectangle face = KeyRect(kKeySin);
    EXPECT_EQ(rectangle.topLeft(), window.View().mapToGlobal(window.View().WidgetPoint({face.left, face.top})));
    EXPECT_EQ(View()->childAt(rectangle.center().x(), rectangle.center().y()), sine);

    const QPoint enterLowerHalf = window.View().mapToGlobal(window.View().WidgetPoint({50, 250}));
    EXPECT_EQ(View()->childAt(enterLowerHalf.x(), enterLowerHalf.y()), KeyNamed(KeyName(kKeyEnter)));
    const QPoint display = window.View().mapToGlobal(window.View().WidgetPoint({120, 40}));
    EXPECT_EQ(View()->childAt(display.x(), display.y()), Display());
    const QPoint gap = window.View().mapToGlobal(window.View().WidgetPoint({41, 100}));
    EXPECT_EQ(View()->childAt(gap.x(), gap.y()), nullptr);
}

TEST_F(Accessibility, TheDisplayReadsTheMainLineWithTheExponentInWordsAndTheIndicators)
{
    EXPECT_EQ(Reading(), QStringLiteral("0.000000 times ten to the 0, SCI 6, DEG"));
    Tap({kKey1, kKeyPoint, kKey2, kKey3, kKey4, kKey5, kKeyEex, kKey3});
    EXPECT_EQ(Reading(), QStringLiteral("1.2345 times ten to the 3, SCI 6, DEG")) << "an entry reads as keyed";
    Tap({kKeyChs});
    EXPECT_EQ(Reading(), QStringLiteral("1.2345 times ten to the minus 3, SCI 6, DEG"));
    Tap({kKeyChs, kKeyEnter});
    EXPECT_EQ(Reading(), QStringLiteral("1.234500 times ten to the 3, SCI 6, DEG"));
    Tap({kKeyF});
    EXPECT_EQ(Reading(), QStringLiteral("1.234500 times ten to the 3, SCI 6, DEG, F pending"));
    Tap({kKey0});
    EXPECT_EQ(Reading(), QStringLiteral("1.234500 times ten to the 3, SCI 6, DEG, STO pending"));
    EXPECT_EQ(Display()->textInterface()->text(0, Display()->textInterface()->characterCount()), Reading());
}

TEST_F(Accessibility, FixedNumbersKeepTheirSeparatorsAndErrorsAreSpokenInWords)
{
    Tap({kKeyF, kKey7, kKey2, kKey1, kKey2, kKey3, kKey4, kKey5, kKeyEnter, kKeyChs});
    EXPECT_EQ(Reading(), QStringLiteral("minus 12,345.00, FIX 2, DEG"));
    EXPECT_EQ(Display()->text(QAccessible::Description), QStringLiteral("Y 12,345.00, Z 0.00, T 0.00"));
    Tap({kKey0, kKeyReciprocal});
    EXPECT_EQ(Reading(), QStringLiteral("ERROR: Inf, FIX 2, DEG")) << "an error reads as it is shown";
}

TEST_F(Accessibility, PressingAButtonTapsItsKeyWithItsClickAndFShowsAsChecked)
{
    window.State().bAudibleClicks = true;
    QAccessibleInterface* seven = KeyNamed(KeyName(kKey7));
    ASSERT_NE(seven->actionInterface(), nullptr);
    EXPECT_EQ(seven->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    seven->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window.State().DisplayText, L" 7");
    EXPECT_EQ(window.click.Plays(), 1);
    EXPECT_EQ(window.State().KeyCode, 0);

    QAccessibleInterface* shift = KeyNamed(KeyName(kKeyF));
    EXPECT_TRUE(shift->state().checkable);
    EXPECT_FALSE(shift->state().checked);
    shift->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(shift->state().checked);

    window.Down(TestWindow::KeyCentre(kKey2));
    EXPECT_TRUE(KeyNamed(KeyName(kKey2))->state().pressed);
    EXPECT_FALSE(seven->state().pressed);
    window.Up(TestWindow::KeyCentre(kKey2));
    EXPECT_FALSE(KeyNamed(KeyName(kKey2))->state().pressed);
}

struct Heard {
    QAccessible::Event type;
    QAccessibleInterface* object;
    QString text;
};

// An announcer that records what it would send, with somebody listening
// when `listening` says so.
class Recorder {
public:
    explicit Recorder(CRPNView& view, const bool& listening)
        : announcer(
              view,
              [this](QAccessibleEvent& event) {
                  QString text;
                  if (event.type() == QAccessible::TextUpdated) {
                      const auto& update = static_cast<QAccessibleTextUpdateEvent&>(event);
                      text = update.textRemoved() + QStringLiteral(" -> ") + update.textInserted();
                  }
                  heard.push_back({event.type(), event.accessibleInterface(), text});
              },
              [this](QAccessibleInterface* focused, const QString& text) {
                  heard.push_back({QAccessible::DescriptionChanged, focused, text});
              },
              [&listening] { return listening; })
    {
    }

    std::vector<Heard> heard;
    DisplayAnnouncer announcer;
};

TEST_F(Accessibility, EveryKeyTappedTypedOrPressedIsFollowedByTheNewReadingOnTheObjectInFocus)
{
    const bool listening = true;
    Recorder recorder(window.View(), listening);
    const std::vector<Heard>& heard = recorder.heard;

    window.Key(Qt::Key_7);
    ASSERT_EQ(heard.size(), 2U);
    EXPECT_EQ(heard[0].type, QAccessible::TextUpdated);
    EXPECT_EQ(heard[0].object, Display());
    EXPECT_EQ(heard[0].text, QStringLiteral("0.000000 times ten to the 0, SCI 6, DEG -> 7, SCI 6, DEG"));
    EXPECT_EQ(heard[1].object, View()) << "the view has the focus while the ring is hidden";
    EXPECT_EQ(heard[1].text, QStringLiteral("7, SCI 6, DEG"));
    EXPECT_EQ(View()->text(QAccessible::Description), heard[1].text);

    window.TapKey(kKeyEnter);
    window.TapKey(kKeyEnter);
    ASSERT_EQ(heard.size(), 6U) << "a key that leaves the reading as it was is still confirmed";
    EXPECT_EQ(heard[5].text, QStringLiteral("7.000000 times ten to the 0, SCI 6, DEG"));

    KeyNamed(KeyName(kKeyChs))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(heard.size(), 8U);
    EXPECT_EQ(heard[7].text, QStringLiteral("minus 7.000000 times ten to the 0, SCI 6, DEG"));

    window.Key(Qt::Key_Shift);
    window.Key(Qt::Key_Right);
    window.Down(TestWindow::KeyCentre(kKey7));
    window.Up(TestWindow::KeyCentre(kKey2));
    ASSERT_EQ(heard.size(), 9U) << "keys that perform nothing say nothing; the ring's move is a focus change";
    EXPECT_EQ(heard[8].type, QAccessible::Focus);
    EXPECT_EQ(heard[8].object, KeyNamed(KeyName(kKeyExp)));
}

TEST_F(Accessibility, KeysTakeTheFocusWithTheRingAndAPressUnderItIsSpokenThere)
{
    window.Frame().activateWindow();
    window.View().setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.Frame()));
    const bool listening = true;
    Recorder recorder(window.View(), listening);
    const std::vector<Heard>& heard = recorder.heard;

    QAccessibleInterface* sine = KeyNamed(KeyName(kKeySin));
    EXPECT_TRUE(sine->state().focusable);
    EXPECT_FALSE(sine->state().focused);
    EXPECT_EQ(View()->focusChild(), View());

    window.Key(Qt::Key_Tab);
    window.Key(Qt::Key_Right);
    window.Key(Qt::Key_Right);
    EXPECT_TRUE(sine->state().focused);
    EXPECT_FALSE(KeyNamed(KeyName(kKeyExp))->state().focused);
    EXPECT_EQ(View()->focusChild(), sine);
    ASSERT_EQ(heard.size(), 3U);
    EXPECT_EQ(heard[2].type, QAccessible::Focus);
    EXPECT_EQ(heard[2].object, sine);

    window.Key(Qt::Key_P);
    ASSERT_EQ(heard.size(), 5U);
    EXPECT_EQ(heard[4].object, sine) << "the reading is spoken by the object in focus";
    EXPECT_EQ(heard[4].text, QStringLiteral("0.000000 times ten to the 0, SCI 6, DEG"));
    window.View().clearFocus();
    EXPECT_FALSE(sine->state().focused);
    window.View().setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(heard.size(), 6U);
    EXPECT_EQ(heard[5].type, QAccessible::Focus) << "coming back, the focus is the key's again";
    EXPECT_EQ(heard[5].object, sine);
}

TEST_F(Accessibility, KeysCostNothingUntilSomebodyListensAndThenReadTheRightChange)
{
    bool listening = false;
    Recorder recorder(window.View(), listening);
    const std::vector<Heard>& heard = recorder.heard;

    window.Key(Qt::Key_7);
    window.TapKey(kKeyEnter);
    window.Key(Qt::Key_Tab);
    EXPECT_TRUE(heard.empty());

    listening = true;
    window.Key(Qt::Key_2);
    ASSERT_EQ(heard.size(), 2U);
    EXPECT_EQ(heard[0].text, QStringLiteral("7.000000 times ten to the 0, SCI 6, DEG -> 2, SCI 6, DEG"))
        << "the change starts from what the display read just before the key";

    listening = false;
    window.Key(Qt::Key_3);
    listening = true;
    window.Key(Qt::Key_4);
    ASSERT_EQ(heard.size(), 4U);
    EXPECT_EQ(heard[2].text, QStringLiteral("23, SCI 6, DEG -> 234, SCI 6, DEG"))
        << "not the reading from before the pause";
}

TEST(SpokenNumber, ReadsExponentsMantissaSignsAndSeparators)
{
    EXPECT_EQ(SpokenNumber(L"-5.000000 00"), QStringLiteral("minus 5.000000 times ten to the 0"));
    EXPECT_EQ(SpokenNumber(L" 1,234,567-03"), QStringLiteral("1,234,567 times ten to the minus 3"))
        << "a mantissa that fills its cells leaves no blank before the exponent sign";
    EXPECT_EQ(SpokenNumber(L" 12.34    03"), QStringLiteral("12.34 times ten to the 3"));
    EXPECT_EQ(SpokenNumber(L"-1,234"), QStringLiteral("minus 1,234"));
    EXPECT_EQ(SpokenNumber(L"-12"), QStringLiteral("minus 12")) << "FIX 0 is not an exponent";
    EXPECT_EQ(SpokenNumber(L" 1234567890"), QStringLiteral("1234567890"));
    EXPECT_EQ(SpokenNumber(L" 0.50"), QStringLiteral("0.50"));
}

}  // namespace
}  // namespace rpn::test
