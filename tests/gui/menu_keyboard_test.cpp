#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWindow>
#include <vector>

#include "face/command_ids.h"
#include "face/register_menus.h"
#include "platform/qt/menu_actions.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

// The window as a person uses it: keys arrive at the window that has the
// keyboard (an open menu's, else the main window's), so that shortcuts,
// the menu bar and the menus take them as they take typed keys.
class KeyboardWindow : public TestWindow {
public:
    explicit KeyboardWindow(const std::function<void(TestWindow&)>& prepare = {})
        : TestWindow(nullptr, {QStringLiteral("rpn")}, prepare)
    {
        Frame().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    }

    void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup != nullptr ? popup->windowHandle() : Frame().windowHandle(), key, modifiers);
    }

    // Alt+letter, then each access key in turn, each waiting for its menu.
    void Choose(Qt::Key menu, std::initializer_list<Qt::Key> keys)
    {
        Type(menu, Qt::AltModifier);
        for (const Qt::Key key : keys) {
            ASSERT_TRUE(MenuOpen());
            Type(key);
        }
        ASSERT_TRUE(MenusClosed());
    }

    static bool MenuOpen()
    {
        return QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
    }
    static bool MenusClosed()
    {
        return QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; });
    }

    // The brightness steps whose items carry the radio mark.
    std::vector<int> MarkedSteps()
    {
        std::vector<int> steps;
        for (const QAction* action : Frame().BrightnessMenu()->actions())
            if (action->isChecked())
                steps.push_back(CommandId(*action) - command::BrightnessZero);
        return steps;
    }

    QAction& Item(int id) { return *Frame().FindAction(id); }
};

using Steps = std::vector<int>;

TEST(BrightnessMark, ExactlyOneItemIsMarkedWhateverIsChosen)
{
    KeyboardWindow window;
    EXPECT_EQ(window.MarkedSteps(), Steps{0});
    window.Item(command::BrightnessZero + 2).trigger();
    EXPECT_EQ(window.MarkedSteps(), Steps{2});
    // The marked item chosen again keeps its mark and its brightness.
    window.Item(command::BrightnessZero + 2).trigger();
    EXPECT_EQ(window.MarkedSteps(), Steps{2});
    EXPECT_EQ(window.State().Brightness, 2);
    window.Choose(Qt::Key_F, {Qt::Key_B, Qt::Key_2});
    EXPECT_EQ(window.MarkedSteps(), Steps{2});

    window.Item(command::ResetState).trigger();
    EXPECT_EQ(window.MarkedSteps(), Steps{0});
    window.Item(command::BrightnessZero).trigger();
    EXPECT_EQ(window.MarkedSteps(), Steps{0});

    // New and Open bring back a brightness that equals the current one, or not.
    window.Choose(Qt::Key_F, {Qt::Key_B, Qt::Key_3});
    window.dialogs.AnswerFileName(L"/states/bright.rpn");
    window.Item(command::SaveState).trigger();
    window.Item(command::BrightnessZero + 3).trigger();
    window.Type(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window.State().Brightness, 0) << "nothing was saved at an exit";
    EXPECT_EQ(window.MarkedSteps(), Steps{0});
    for (const int before : {-2, 3}) {
        window.Item(command::BrightnessZero + before).trigger();
        window.dialogs.AnswerFileName(L"/states/bright.rpn");
        window.Type(Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(window.State().Brightness, 3);
        EXPECT_EQ(window.MarkedSteps(), Steps{3}) << "from " << before;
    }
}

// The steps below 0 have no access key of their own: their digits choose
// the steps above it at once, and the arrows reach them.
TEST(BrightnessMark, EachDigitChoosesItsStepAtOnceAndTheArrowsReachTheRest)
{
    KeyboardWindow window;
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_4, 4}, {Qt::Key_3, 3}, {Qt::Key_2, 2}, {Qt::Key_1, 1}, {Qt::Key_0, 0}};
    // From the far end, so that every key moves the mark.
    window.Item(command::BrightnessFirst).trigger();
    for (const auto& [key, step] : keys) {
        window.Choose(Qt::Key_F, {Qt::Key_B, key});
        EXPECT_EQ(window.State().Brightness, step);
        EXPECT_EQ(window.MarkedSteps(), Steps{step});
    }
    using enum Qt::Key;
    window.Choose(Key_F, {Key_B, Key_Down, Key_Down, Key_Down, Key_Down, Key_Down, Key_Down, Key_Return});
    EXPECT_EQ(window.State().Brightness, -2);
    EXPECT_EQ(window.MarkedSteps(), Steps{-2});
}

// However a menu closes, the next typed key is the calculator's: a digit is
// not lost, and F and E are the calculator's F and EEX, not File and Edit.
TEST(MenuKeyboard, TypedKeysReachTheFaceAgainAfterAMenuCloses)
{
    const std::pair<const char*, std::function<void(KeyboardWindow&)>> closings[] = {
        {"Escape",
         [](KeyboardWindow& window) {
             window.Type(Qt::Key_F, Qt::AltModifier);
             ASSERT_TRUE(window.MenuOpen());
             window.Type(Qt::Key_Escape);
         }},
        {"Escape from a submenu, then its menu",
         [](KeyboardWindow& window) {
             window.Type(Qt::Key_F, Qt::AltModifier);
             ASSERT_TRUE(window.MenuOpen());
             window.Type(Qt::Key_B);
             window.Type(Qt::Key_Escape);
             window.Type(Qt::Key_Escape);
         }},
        {"moving along the bar, then Escape",
         [](KeyboardWindow& window) {
             window.Type(Qt::Key_E, Qt::AltModifier);
             ASSERT_TRUE(window.MenuOpen());
             window.Type(Qt::Key_Right);
             window.Type(Qt::Key_Escape);
         }},
        {"a click on the face",
         [](KeyboardWindow& window) {
             window.Type(Qt::Key_H, Qt::AltModifier);
             ASSERT_TRUE(window.MenuOpen());
             const QPoint face = window.View().mapTo(&window.Frame(), window.View().WidgetPoint({120, 40}));
             QTest::mouseClick(window.Frame().windowHandle(), Qt::LeftButton, {}, face);
         }},
        {"an item chosen", [](KeyboardWindow& window) { window.Choose(Qt::Key_F, {Qt::Key_A}); }},
    };
    for (const auto& [how, close] : closings) {
        SCOPED_TRACE(how);
        KeyboardWindow window;
        close(window);
        ASSERT_TRUE(window.MenusClosed());
        // At once: the next key, without waiting for anything.
        window.Type(Qt::Key_7);
        window.Type(Qt::Key_E);
        window.Type(Qt::Key_F);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(window.State().Integer, L"7");
        EXPECT_TRUE(window.State().ExpoMode);
        EXPECT_TRUE(window.State().FunctionMode);
        EXPECT_TRUE(window.View().hasFocus());
    }
}

// Recent-file items are chosen while their menu is still delivering the
// choice; opening the file reorders the list the items show. Run under
// AddressSanitizer, this path catches an item or a path used after it was
// freed.
TEST(MenuKeyboard, SavedStatesAreReopenedFromTheRecentFileItems)
{
    KeyboardWindow window;
    // Paths far longer than any short-string buffer, so that they live on the heap.
    const auto path = [](int n) {
        return L"/a/rather/long/directory/name/for/the/states/state" + std::to_wstring(n) + L".rpn";
    };
    for (int n = 1; n <= 3; ++n) {
        window.Type(static_cast<Qt::Key>(Qt::Key_0 + n));
        window.Type(Qt::Key_Return);
        window.dialogs.AnswerFileName(path(n));
        window.Choose(Qt::Key_F, {Qt::Key_S});
    }
    const std::vector<std::wstring> newestFirst{path(3), path(2), path(1)};
    EXPECT_EQ(window.app->RecentFiles().Paths(), newestFirst);
    // The last item, then the middle one, each read back and moved to the
    // top. Moving the last one frees the very string its path was read from.
    window.Choose(Qt::Key_F, {Qt::Key_3});
    EXPECT_EQ(window.State().RegX, 1.0);
    EXPECT_EQ(window.app->RecentFiles().Paths(), (std::vector<std::wstring>{path(1), path(3), path(2)}));
    window.Choose(Qt::Key_F, {Qt::Key_2});
    EXPECT_EQ(window.State().RegX, 3.0);
    EXPECT_EQ(window.app->RecentFiles().Paths(), (std::vector<std::wstring>{path(3), path(1), path(2)}));
    // The menu shows them in that order, the placeholder gone.
    window.Type(Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(window.MenuOpen());
    QStringList shown;
    for (const QAction* action : window.Frame().FileMenu()->actions())
        if (action->isVisible() && CommandId(*action) >= command::RecentFileFirst &&
            CommandId(*action) < command::RecentFileFirst + command::kRecentFileCount)
            shown << action->text().left(2);
    window.Type(Qt::Key_Escape);
    EXPECT_EQ(shown, QStringList({"&1", "&2", "&3"}));
}

// Screen readers read the menus while they are closed: the facts must be
// right before any menu was ever opened, and follow the state after.
TEST(MenuFacts, AreCurrentBeforeAnyMenuOpens)
{
    KeyboardWindow window([](TestWindow& prepared) { prepared.clipboard.SetNonText(); });
    QAction& clicks = window.Item(command::AudibleClicks);
    QAction& paste = window.Item(command::EditPaste);
    EXPECT_FALSE(window.State().bAudibleClicks);
    EXPECT_FALSE(clicks.isChecked());
    EXPECT_TRUE(QTest::qWaitFor([&paste] { return !paste.isEnabled(); })) << "no text on the clipboard";

    // Keys keep the facts current while a screen reader is listening.
    QAccessible::setActive(true);
    window.Type(Qt::Key_5);
    window.Execute(StoreCommandId(3));
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.Item(StoreCommandId(3)).text() == "STO &3:  5.000000 00"; }));
    EXPECT_EQ(window.Item(RecallCommandId(3)).text(), "RCL &3:  5.000000 00");
    QAccessible::setActive(QAccessible::isActive());

    clicks.trigger();
    EXPECT_TRUE(QTest::qWaitFor([&clicks] { return clicks.isChecked(); }));
    window.Item(command::ResetState).trigger();
    EXPECT_TRUE(QTest::qWaitFor([&clicks] { return !clicks.isChecked(); }));
}

TEST(MenuFacts, EditItemsAreNamedWithoutTheirKeys)
{
    KeyboardWindow window;
    QAccessibleInterface* edit =
        QAccessible::queryAccessibleInterface(window.Frame().menuBar()->actions().at(1)->menu());
    ASSERT_NE(edit, nullptr);
    QStringList names;
    QStringList keys;
    for (int index = 0; index < edit->childCount(); ++index) {
        names << edit->child(index)->text(QAccessible::Name);
        keys << edit->child(index)->text(QAccessible::Accelerator);
    }
    EXPECT_EQ(names, QStringList({"Cut", "Copy", "Paste"}));
    EXPECT_EQ(keys, QStringList({"Ctrl+X", "Ctrl+C", "Ctrl+V"}));
}

}  // namespace
}  // namespace rpn::test
