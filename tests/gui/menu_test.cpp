#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <set>
#include <tuple>

#include "face/command_ids.h"
#include "face/register_menus.h"
#include "platform/qt/menu_actions.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

struct Item {
    QString text;
    int id;
};

std::vector<Item> Items(const QMenu& menu)
{
    std::vector<Item> items;
    // Hidden items (the recent-file entries of an empty list) are not shown.
    for (const QAction* action : menu.actions())
        if (action->isVisible())
            items.push_back({action->isSeparator() ? QStringLiteral("-") : action->text(), CommandId(*action)});
    return items;
}

QMenu& TopMenu(CMainFrame& frame, int index)
{
    return *frame.menuBar()->actions().at(index)->menu();
}

TEST(Menus, TheMenuBarHasItsMenusItemsAndIdsInOrder)
{
    TestWindow window;
    QStringList titles;
    for (const QAction* action : window.Frame().menuBar()->actions())
        titles << action->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&STO", "&RCL", "&Help"}));

    const std::vector<Item> file = Items(TopMenu(window.Frame(), 0));
    const std::vector<std::pair<QString, int>> expected{{"&Save State", 32771},
                                                        {"&Load State", 32772},
                                                        {"R&eset State", 32792},
                                                        {"-", 0},
                                                        {"Recent File", 57616},
                                                        {"-", 0},
                                                        {"&Audible Clicks", 32793},
                                                        {"&Brightness", 0},
                                                        {"-", 0},
                                                        {"E&xit", 57665}};
    ASSERT_EQ(file.size(), expected.size());
    for (std::size_t index = 0; index < expected.size(); ++index) {
        EXPECT_EQ(file[index].text, expected[index].first) << index;
        EXPECT_EQ(file[index].id, expected[index].second) << index;
    }
    EXPECT_FALSE(window.Frame().FindAction(command::RecentFileFirst)->isEnabled());

    const std::vector<Item> brightness = Items(*window.Frame().BrightnessMenu());
    const QStringList steps{"&4", "&3", "&2", "&1", "&0", "-1", "-2", "-3", "-4"};
    ASSERT_EQ(brightness.size(), 9u);
    for (int index = 0; index < 9; ++index) {
        EXPECT_EQ(brightness[std::size_t(index)].text, steps.at(index));
        EXPECT_EQ(brightness[std::size_t(index)].id, 32806 - index);
    }

    // The keys beside the caption are the action's shortcut, not text after a tab.
    const std::vector<Item> edit = Items(TopMenu(window.Frame(), 1));
    const std::tuple<QString, int, QString> editItems[] = {
        {"Cu&t", 57635, "Ctrl+X"}, {"&Copy", 57634, "Ctrl+C"}, {"&Paste", 57637, "Ctrl+V"}};
    ASSERT_EQ(edit.size(), 3u);
    for (std::size_t index = 0; index < edit.size(); ++index) {
        const auto& [text, id, keys] = editItems[index];
        EXPECT_EQ(edit[index].text, text);
        EXPECT_EQ(edit[index].id, id);
        const QAction* action = TopMenu(window.Frame(), 1).actions().at(qsizetype(index));
        EXPECT_EQ(action->shortcut().toString(), keys);
        EXPECT_EQ(action->shortcutContext(), Qt::WidgetShortcut) << "never competing with the shortcut table";
    }

    const std::vector<Item> store = Items(TopMenu(window.Frame(), 2));
    const std::vector<Item> recall = Items(TopMenu(window.Frame(), 3));
    ASSERT_EQ(store.size(), 10u);
    ASSERT_EQ(recall.size(), 10u);
    const int storeIds[] = {32783, 1, 32784, 32785, 32786, 32787, 32788, 32789, 32790, 32791};
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(store[std::size_t(n)].id, storeIds[n]);
        EXPECT_EQ(recall[std::size_t(n)].id, 32773 + n);
    }

    const std::vector<Item> help = Items(TopMenu(window.Frame(), 4));
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].text, "&About Kel's RPN...");
    EXPECT_EQ(help[0].id, 57664);
}

TEST(Menus, EveryCommandCanBeChosenByItsAccessKey)
{
    TestWindow window;
    std::vector<QMenu*> menus;
    for (QAction* top : window.Frame().menuBar()->actions()) {
        EXPECT_FALSE(QKeySequence::mnemonic(top->text()).isEmpty()) << top->text().toStdString();
        menus.push_back(top->menu());
    }
    menus.push_back(window.Frame().BrightnessMenu());
    for (QMenu* menu : menus) {
        RunUpdateHandlers(*menu, window.app->Commands());
        std::set<QString> keys;
        std::size_t items = 0;
        for (QAction* action : menu->actions()) {
            // The grayed placeholder of an empty recent-file list is no command.
            if (action->isSeparator() || !action->isEnabled() || !action->isVisible())
                continue;
            const QString key = QKeySequence::mnemonic(action->text()).toString();
            // The brightness steps below 0 have none: their digits are the
            // steps above it.
            if (menu == window.Frame().BrightnessMenu() && action->text().startsWith(QLatin1Char('-'))) {
                EXPECT_TRUE(key.isEmpty()) << action->text().toStdString();
                continue;
            }
            EXPECT_FALSE(key.isEmpty()) << action->text().toStdString();
            keys.insert(key);
            ++items;
        }
        EXPECT_EQ(keys.size(), items) << "no two items of " << menu->title().toStdString() << " share a key";
    }
}

TEST(Menus, AnAccessKeyChoosesTheRegisterItem)
{
    TestWindow window;
    window.Key(Qt::Key_7);
    QMenu& store = TopMenu(window.Frame(), 2);
    QTimer::singleShot(0, &store, [&store] { QTest::keyClick(&store, Qt::Key_4); });
    store.exec(QPoint(0, 0));
    EXPECT_EQ(window.State().RegS[4], 7.0);
}

TEST(Menus, RegisterItemsShowTheRegistersWhenTheMenuOpens)
{
    TestWindow window;
    window.Key(Qt::Key_5);
    window.Execute(StoreCommandId(3));
    EXPECT_EQ(window.State().RegS[3], 5.0);
    EXPECT_FALSE(window.State().EntryMode);

    QMenu& store = TopMenu(window.Frame(), 2);
    QMenu& recall = TopMenu(window.Frame(), 3);
    RunUpdateHandlers(store, window.app->Commands());
    RunUpdateHandlers(recall, window.app->Commands());
    // The register's digit is the item's access key; the text reads as it stands.
    EXPECT_EQ(store.actions().at(3)->text(), "STO &3:  5.000000 00");
    EXPECT_EQ(recall.actions().at(3)->text(), "RCL &3:  5.000000 00");
    EXPECT_EQ(store.actions().at(0)->text(), "STO &0:  0.000000 00");

    // FIX 2 changes the texts the next time the menu opens.
    window.State().RegS[2] = 1234.5;
    window.State().DisplayMode = L"FIX";
    window.State().DisplayPrecision = 2;
    QMetaObject::invokeMethod(&store, "aboutToShow");
    EXPECT_EQ(store.actions().at(2)->text(), "STO &2:  1234.50");
    EXPECT_TRUE(store.actions().at(2)->isEnabled());
    EXPECT_FALSE(store.actions().at(2)->isChecked());
}

TEST(Menus, StoItemOneCarriesIdOneAndReachesTheDocument)
{
    TestWindow window;
    window.Key(Qt::Key_4);
    window.Key(Qt::Key_2);
    window.Key(Qt::Key_F);
    window.Execute(command::StoreRegister1);
    EXPECT_EQ(window.State().RegS[1], 42.0);
    EXPECT_FALSE(window.State().FunctionMode) << "a menu command cancels F";
    window.Key(Qt::Key_1);
    window.Key(Qt::Key_Return);
    window.Execute(RecallCommandId(1));
    EXPECT_EQ(window.State().RegX, 42.0);
    EXPECT_EQ(window.State().RegY, 1.0);
    EXPECT_EQ(window.State().RegZ, 1.0);
}

TEST(Menus, ResetStateAndAudibleClicks)
{
    TestWindow window;
    window.Execute(command::BrightnessZero + 3);
    window.State().bAudibleClicks = true;
    window.Key(Qt::Key_9);
    window.State().RegLstX = 6.0;
    window.Execute(command::ResetState);
    EXPECT_EQ(window.State().Brightness, 0);
    EXPECT_FALSE(window.State().bAudibleClicks);
    EXPECT_EQ(window.State().DisplayText, L" 0000000 00");
    EXPECT_EQ(window.State().RegLstX, 6.0);
    EXPECT_TRUE(window.Frame().FindAction(command::BrightnessZero)->isChecked());
    EXPECT_FALSE(window.Frame().FindAction(command::BrightnessZero + 3)->isChecked());

    QAction* clicks = window.Frame().FindAction(command::AudibleClicks);
    RunUpdateHandlers(*window.Frame().FileMenu(), window.app->Commands());
    EXPECT_FALSE(clicks->isChecked());
    window.Execute(command::AudibleClicks);
    EXPECT_TRUE(window.State().bAudibleClicks);
    RunUpdateHandlers(*window.Frame().FileMenu(), window.app->Commands());
    EXPECT_TRUE(clicks->isChecked());
    window.Execute(command::AudibleClicks);
    EXPECT_FALSE(window.State().bAudibleClicks);
}

TEST(Menus, PasteIsEnabledOnlyWithTextOnTheClipboard)
{
    TestWindow window;
    QMenu& edit = TopMenu(window.Frame(), 1);
    QAction* paste = window.Frame().FindAction(command::EditPaste);
    window.clipboard.SetNonText();
    RunUpdateHandlers(edit, window.app->Commands());
    EXPECT_FALSE(paste->isEnabled());
    window.clipboard.SetText(L" 42");
    RunUpdateHandlers(edit, window.app->Commands());
    EXPECT_TRUE(paste->isEnabled());
    window.clipboard.SetBusy(true);
    window.clipboard.SetNonText();
    RunUpdateHandlers(edit, window.app->Commands());
    EXPECT_TRUE(paste->isEnabled()) << "a busy clipboard leaves the item as it was";
}

// Asking the clipboard is a round trip to another program; a start leaves it
// until the window has painted, and then Paste is set as the clipboard says.
TEST(Menus, AStartAsksTheClipboardOnlyOnceTheWindowHasPainted)
{
    struct FirstPaint : QObject {
        const FakeClipboard* clipboard = nullptr;
        int opensBefore = -1;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint && opensBefore < 0)
                opensBefore = clipboard->Opens();
            return false;
        }
    } firstPaint;
    TestWindow window(nullptr, {}, [&firstPaint](TestWindow& prepared) {
        prepared.clipboard.SetText(L" 42");
        firstPaint.clipboard = &prepared.clipboard;
        prepared.View().installEventFilter(&firstPaint);
    });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(firstPaint.opensBefore, 0) << "asked before the first frame";
    EXPECT_GE(window.clipboard.Opens(), 1) << "never asked after it";
    EXPECT_TRUE(window.Frame().FindAction(command::EditPaste)->isEnabled());
}

TEST(Menus, CopyCutAndPasteThroughTheirShortcuts)
{
    TestWindow window;
    window.Key(Qt::Key_7);
    window.Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(window.clipboard.Text().has_value());
    EXPECT_EQ(*window.clipboard.Text(), L"7.000000e+00");
    EXPECT_TRUE(window.State().EntryMode) << "copy leaves the entry open";

    window.clipboard.SetText(L"12.5 kg");
    window.Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(window.State().RegX, 12.5);

    // Shift+Delete cuts; the Delete release then clears the entry as well.
    window.Key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(*window.clipboard.Text(), L"1.250000e+01");
    EXPECT_EQ(window.State().RegX, 0.0);
    EXPECT_EQ(window.State().DisplayText, L" 0000000 00");
}

TEST(Menus, UndoAndPaneKeysDoNothing)
{
    TestWindow window;
    window.Key(Qt::Key_7);
    window.Key(Qt::Key_Return);
    const CalcState before = window.State();
    window.Key(Qt::Key_Z, Qt::ControlModifier);
    window.Key(Qt::Key_Backspace, Qt::AltModifier);
    window.Key(Qt::Key_F6);
    window.Key(Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(window.State(), before);
}

TEST(Menus, EveryShortcutOfTheTableIsBound)
{
    TestWindow window;
    const QStringList expected{"Ctrl+N",        "Ctrl+O",    "Ctrl+S",   "Ctrl+Z",    "Ctrl+X", "Ctrl+C",  "Ctrl+V",
                               "Alt+Backspace", "Shift+Del", "Ctrl+Ins", "Shift+Ins", "F6",     "Shift+F6"};
    QStringList bound;
    for (const QAction* action : window.Frame().actions())
        if (!action->shortcut().isEmpty())
            bound << action->shortcut().toString();
    EXPECT_EQ(bound, expected);
}

TEST(CommandBar, HasCutCopyPasteAndAboutBetweenSeparators)
{
    TestWindow window;
    QStringList layout;
    for (const QAction* action : window.Frame().CommandBar()->actions())
        layout << (action->isSeparator() ? QStringLiteral("|") : QString::number(CommandId(*action)));
    EXPECT_EQ(layout, QStringList({"|", "57635", "57634", "57637", "|", "57664", "|"}));
    for (const QAction* action : window.Frame().CommandBar()->actions())
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull());
            EXPECT_TRUE(action->isEnabled());
        }
    // Screen readers list every control of the bar, the hidden overflow
    // button too: each has a name.
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(window.Frame().CommandBar());
    ASSERT_NE(bar, nullptr);
    QStringList names;
    for (int index = 0; index < bar->childCount(); ++index)
        if (const QAccessibleInterface* child = bar->child(index);
            child->role() == QAccessible::Button || child->role() == QAccessible::CheckBox)
            names << child->text(QAccessible::Name);
    EXPECT_EQ(names, QStringList({"More commands", "Cut", "Copy", "Paste", "About"}));
}

TEST(CommandTable, TheWindowRegistersEveryIdOnce)
{
    TestWindow window;
    CommandTable& table = window.app->Commands();
    for (const int id : {32771, 32772, 32792, 32793, 57634, 57635, 57637, 57664, 57600, 57601, 57603, 57665, 1})
        EXPECT_TRUE(table.HasHandler(id)) << id;
    for (int id = 32773; id <= 32791; ++id)
        EXPECT_TRUE(table.HasHandler(id)) << id;
    for (int id = 32798; id <= 32806; ++id)
        EXPECT_TRUE(table.HasHandler(id)) << id;
    for (const int id : {57643, 57680, 57681})
        EXPECT_FALSE(table.HasHandler(id)) << id;
    EXPECT_THROW(window.View().RegisterCommands(table), std::logic_error);
}

}  // namespace
}  // namespace rpn::test
