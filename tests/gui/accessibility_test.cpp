#include "face/accessibility.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QSet>
#include <QTest>
#include <vector>

#include "face/command_ids.h"
#include "face/register_menus.h"
#include "face/spoken_words.h"
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
    QAccessibleInterface* Key(int code) { return KeyNamed(QString::fromStdWString(KeyName(code))); }
    void Tap(std::initializer_list<int> codes)
    {
        for (const int code : codes)
            window.TapKey(code);
    }
    QString Reading() { return Display()->text(QAccessible::Value); }

    TestWindow window;
};

TEST_F(Accessibility, TheViewIsAGroupOfTheDisplayAndTwentyNineButtonsNamedInWords)
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
        const QString name = key->text(QAccessible::Name);
        // Words only: no legend a synthesiser reads badly.
        for (const char* legend : {"SIN", "⁻¹", "ˣ", "LN", "RAN#", "FIX", "DEG", "STO", "≷"})
            EXPECT_FALSE(name.contains(QString::fromUtf8(legend))) << name.toStdString();
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 29) << "every key has a name of its own";

    ASSERT_NE(KeyNamed(QStringLiteral("sine, shifted: inverse sine")), nullptr);
    ASSERT_NE(KeyNamed(QStringLiteral("enter, shifted: random number")), nullptr);
    ASSERT_NE(KeyNamed(QStringLiteral("e to the x, shifted: natural logarithm")), nullptr);
    ASSERT_NE(KeyNamed(QStringLiteral("8, shifted: scientific display")), nullptr);
    ASSERT_NE(KeyNamed(QStringLiteral("F, shift for the yellow functions")), nullptr) << "F has no shifted legend";
    EXPECT_TRUE(KeyName(kKeyEnterLowerHalf).empty());
}

TEST_F(Accessibility, KeysSitWhereTheFaceDrawsThemAndHitTestingFindsThem)
{
    QAccessibleInterface* sine = Key(kKeySin);
    const QRect rectangle = sine->rect();
    const KeyRectangle face = KeyRect(kKeySin);
    EXPECT_EQ(rectangle.topLeft(), window.View().mapToGlobal(window.View().WidgetPoint({face.left, face.top})));
    EXPECT_EQ(View()->childAt(rectangle.center().x(), rectangle.center().y()), sine);

    const QPoint enterLowerHalf = window.View().mapToGlobal(window.View().WidgetPoint({50, 250}));
    EXPECT_EQ(View()->childAt(enterLowerHalf.x(), enterLowerHalf.y()), Key(kKeyEnter));
    const QPoint display = window.View().mapToGlobal(window.View().WidgetPoint({120, 40}));
    EXPECT_EQ(View()->childAt(display.x(), display.y()), Display());
    const QPoint gap = window.View().mapToGlobal(window.View().WidgetPoint({41, 100}));
    EXPECT_EQ(View()->childAt(gap.x(), gap.y()), nullptr);
}

TEST_F(Accessibility, TheDisplayReadsTheMainLineWithTheExponentInWordsAndTheIndicators)
{
    EXPECT_EQ(Reading(), QStringLiteral("0.000000 times ten to the 0, scientific 6, degrees"));
    Tap({kKey1, kKeyPoint, kKey2, kKey3, kKey4, kKey5, kKeyEex, kKey3});
    EXPECT_EQ(Reading(), QStringLiteral("1.2345 times ten to the 3, scientific 6, degrees"))
        << "an entry reads as keyed";
    Tap({kKeyChs});
    EXPECT_EQ(Reading(), QStringLiteral("1.2345 times ten to the minus 3, scientific 6, degrees"));
    Tap({kKeyChs, kKeyEnter});
    EXPECT_EQ(Reading(), QStringLiteral("1.234500 times ten to the 3, scientific 6, degrees"));
    Tap({kKeyF});
    EXPECT_EQ(Reading(), QStringLiteral("1.234500 times ten to the 3, scientific 6, degrees, F pending"));
    Tap({kKey0});
    EXPECT_EQ(Reading(), QStringLiteral("1.234500 times ten to the 3, scientific 6, degrees, store pending"));
    Tap({kKey1, kKeyF, kKey9, kKey2, kKeyF, kKey5, kKeyF, kKeyLastX});
    EXPECT_EQ(Reading(), QStringLiteral("1.23 times ten to the 3, engineering 2, radians, hyperbolic pending"));
    Tap({kKeyF, kKey6, kKeyF, kKey8});
    EXPECT_EQ(Reading(), QStringLiteral("1.23 times ten to the 3, engineering 2, grads, scientific pending"))
        << "the screen keeps its abbreviations";
    EXPECT_EQ(window.State().AngleMode, L"GRD");
    EXPECT_EQ(Display()->textInterface()->text(0, Display()->textInterface()->characterCount()), Reading());
}

TEST_F(Accessibility, FixedNumbersKeepTheirSeparatorsAndErrorsAreSpokenInWords)
{
    Tap({kKeyF, kKey7, kKey2, kKey1, kKey2, kKey3, kKey4, kKey5, kKeyEnter, kKeyChs});
    EXPECT_EQ(Reading(), QStringLiteral("minus 12,345.00, fixed 2, degrees"));
    EXPECT_EQ(Display()->text(QAccessible::Description), QStringLiteral("Y 12,345.00, Z 0.00, T 0.00"));
    Tap({kKey0, kKeyReciprocal});
    EXPECT_EQ(Reading(), QStringLiteral("error: infinity, fixed 2, degrees"));
    EXPECT_EQ(window.State().DisplayText, L"ERROR: Inf") << "the screen shows the error as before";
    Tap({kKey0, kKeyEnter, kKeyDivide});
    EXPECT_EQ(window.State().DisplayText, L"ERROR: NaN");
    EXPECT_EQ(Reading(), QStringLiteral("error: not a number, fixed 2, degrees"));
}

TEST_F(Accessibility, PressingAButtonTapsItsKeyWithItsClickAndFShowsAsChecked)
{
    window.State().bAudibleClicks = true;
    QAccessibleInterface* seven = Key(kKey7);
    ASSERT_NE(seven->actionInterface(), nullptr);
    EXPECT_EQ(seven->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    seven->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window.State().DisplayText, L" 7");
    EXPECT_EQ(window.click.Plays(), 1);
    EXPECT_EQ(window.State().KeyCode, 0);

    QAccessibleInterface* shift = Key(kKeyF);
    EXPECT_TRUE(shift->state().checkable);
    EXPECT_FALSE(shift->state().checked);
    shift->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(shift->state().checked);

    window.Down(TestWindow::KeyCentre(kKey2));
    EXPECT_TRUE(Key(kKey2)->state().pressed);
    EXPECT_FALSE(seven->state().pressed);
    window.Up(TestWindow::KeyCentre(kKey2));
    EXPECT_FALSE(Key(kKey2)->state().pressed);
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
    EXPECT_EQ(heard[0].text,
              QStringLiteral("0.000000 times ten to the 0, scientific 6, degrees -> 7, scientific 6, degrees"));
    EXPECT_EQ(heard[1].object, View()) << "the view has the focus while the ring is hidden";
    EXPECT_EQ(heard[1].text, QStringLiteral("7, scientific 6, degrees"));
    EXPECT_EQ(View()->text(QAccessible::Description), heard[1].text);

    window.TapKey(kKeyEnter);
    window.TapKey(kKeyEnter);
    ASSERT_EQ(heard.size(), 6U) << "a key that leaves the reading as it was is still confirmed";
    EXPECT_EQ(heard[5].text, QStringLiteral("7.000000 times ten to the 0, scientific 6, degrees"));

    Key(kKeyChs)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(heard.size(), 8U);
    EXPECT_EQ(heard[7].text, QStringLiteral("minus 7.000000 times ten to the 0, scientific 6, degrees"));

    window.Key(Qt::Key_Shift);
    window.Key(Qt::Key_Right);
    window.Down(TestWindow::KeyCentre(kKey7));
    window.Up(TestWindow::KeyCentre(kKey2));
    ASSERT_EQ(heard.size(), 9U) << "keys that perform nothing say nothing; the ring's move is a focus change";
    EXPECT_EQ(heard[8].type, QAccessible::Focus);
    EXPECT_EQ(heard[8].object, Key(kKeyExp));
}

TEST_F(Accessibility, KeysTakeTheFocusWithTheRingAndAPressUnderItIsSpokenThere)
{
    window.Frame().activateWindow();
    window.View().setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.Frame()));
    const bool listening = true;
    Recorder recorder(window.View(), listening);
    const std::vector<Heard>& heard = recorder.heard;

    QAccessibleInterface* sine = Key(kKeySin);
    EXPECT_TRUE(sine->state().focusable);
    EXPECT_FALSE(sine->state().focused);
    EXPECT_EQ(View()->focusChild(), View());

    window.Key(Qt::Key_Tab);
    window.Key(Qt::Key_Right);
    window.Key(Qt::Key_Right);
    EXPECT_TRUE(sine->state().focused);
    EXPECT_FALSE(Key(kKeyExp)->state().focused);
    EXPECT_EQ(View()->focusChild(), sine);
    ASSERT_EQ(heard.size(), 3U);
    EXPECT_EQ(heard[2].type, QAccessible::Focus);
    EXPECT_EQ(heard[2].object, sine);

    window.Key(Qt::Key_P);
    ASSERT_EQ(heard.size(), 5U);
    EXPECT_EQ(heard[4].object, sine) << "the reading is spoken by the object in focus";
    EXPECT_EQ(heard[4].text, QStringLiteral("0.000000 times ten to the 0, scientific 6, degrees"));
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
    EXPECT_EQ(heard[0].text,
              QStringLiteral("7.000000 times ten to the 0, scientific 6, degrees -> 2, scientific 6, degrees"))
        << "the change starts from what the display read just before the key";

    listening = false;
    window.Key(Qt::Key_3);
    listening = true;
    window.Key(Qt::Key_4);
    ASSERT_EQ(heard.size(), 4U);
    EXPECT_EQ(heard[2].text, QStringLiteral("23, scientific 6, degrees -> 234, scientific 6, degrees"))
        << "not the reading from before the pause";
}

// The register menus draw their captions but are read in words, and a store
// or a recall through them says what it did, then the reading.
TEST_F(Accessibility, RegisterItemsAreReadInWordsAndTheirCommandsSayWhatTheyDid)
{
    const bool listening = true;
    Recorder recorder(window.View(), listening);
    const std::vector<Heard>& heard = recorder.heard;
    window.Key(Qt::Key_4);
    window.Key(Qt::Key_2);
    QAction* store = window.Frame().FindAction(StoreCommandId(4));
    store->trigger();
    QCoreApplication::processEvents();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back().text,
              QStringLiteral("stored in register 4, 4.200000 times ten to the 1, scientific 6, degrees"));
    window.Frame().UpdateMenuItems(CMainFrame::MenuFacts::StateOnly);
    EXPECT_EQ(store->text(), QStringLiteral("STO &4:  4.200000 01"));

    QMenu* menu = qobject_cast<QMenu*>(store->parent());
    ASSERT_NE(menu, nullptr);
    QAccessibleInterface* items = QAccessible::queryAccessibleInterface(menu);
    QAccessibleInterface* item = items->child(4);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->object(), store);
    EXPECT_EQ(item->role(), QAccessible::MenuItem);
    EXPECT_EQ(items->indexOfChild(item), 4);
    EXPECT_EQ(item->text(QAccessible::Name), QStringLiteral("store in register 4: 4.200000 times ten to the 1"));
    EXPECT_EQ(items->child(0)->text(QAccessible::Name),
              QStringLiteral("store in register 0: 0.000000 times ten to the 0"));
    QAccessibleInterface* fileItem = QAccessible::queryAccessibleInterface(window.Frame().FileMenu())->child(0);
    EXPECT_EQ(fileItem->text(QAccessible::Name), QStringLiteral("Save State")) << "other items are Qt's own";

    window.Frame().FindAction(RecallCommandId(4))->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(heard.back().text,
              QStringLiteral("recalled register 4, 4.200000 times ten to the 1, scientific 6, degrees"));
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window.State().RegS[4], 42.0) << "the item's action is the item's command";
    QCoreApplication::processEvents();
    EXPECT_EQ(heard.back().text.left(21), QStringLiteral("stored in register 4,"));
}

TEST(SpokenNumber, ReadsExponentsMantissaSignsAndSeparators)
{
    EXPECT_EQ(SpokenNumber(L"-5.000000 00"), L"minus 5.000000 times ten to the 0");
    EXPECT_EQ(SpokenNumber(L" 1,234,567-03"), L"1,234,567 times ten to the minus 3")
        << "a mantissa that fills its cells leaves no blank before the exponent sign";
    EXPECT_EQ(SpokenNumber(L" 12.34    03"), L"12.34 times ten to the 3");
    EXPECT_EQ(SpokenNumber(L"-1,234"), L"minus 1,234");
    EXPECT_EQ(SpokenNumber(L"-12"), L"minus 12") << "FIX 0 is not an exponent";
    EXPECT_EQ(SpokenNumber(L" 1234567890"), L"1234567890");
    EXPECT_EQ(SpokenNumber(L" 0.50"), L"0.50");
    EXPECT_EQ(SpokenNumber(L"   "), L"");
}

// The register items are said with the number as the display reading says
// it; anything that is not a register caption stays as it is.
TEST(SpokenWords, RegisterItemsAndWhatTheirCommandsDid)
{
    EXPECT_EQ(RegisterItemName(L"STO 4:  1.234500 03"), L"store in register 4: 1.234500 times ten to the 3");
    EXPECT_EQ(RegisterItemName(L"RCL 0: -12.50"), L"recall register 0: minus 12.50");
    EXPECT_EQ(RegisterItemName(L"STO 9:  0.000000-07"), L"store in register 9: 0.000000 times ten to the minus 7");
    for (const wchar_t* other : {L"4", L"STO", L"RCL 12: 5", L"Save State"})
        EXPECT_EQ(RegisterItemName(other), other);
    EXPECT_EQ(StoredSaying(4), L"stored in register 4");
    EXPECT_EQ(RecalledSaying(7), L"recalled register 7");
}

}  // namespace
}  // namespace rpn::test
