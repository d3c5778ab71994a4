#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <limits>
#include <stdexcept>

#include "face/brightness.h"
#include "face/virtual_keys.h"
#include "keypad/keypad.h"
#include "platform/command_table.h"
#include "platform/qt/menu_actions.h"
#include "platform/recent_file_list.h"
#include "testsupport/fake_profile_store.h"

namespace rpn::test {
namespace {

TEST(CommandTable, RegisteringAnIdTwiceIsAnError)
{
    CommandTable table;
    int runs = 0;
    table.Register(7, [&runs] { ++runs; });
    EXPECT_THROW(table.Register(7, [] {}), std::logic_error);
    table.RegisterUpdate(7, [](CmdUI&) {});
    EXPECT_THROW(table.RegisterUpdate(7, [](CmdUI&) {}), std::logic_error);
    EXPECT_TRUE(table.Execute(7));
    EXPECT_EQ(runs, 1) << "the first handler stays";
    EXPECT_FALSE(table.Execute(8));
}

TEST(CmdUI, MenuTextsWithoutAnAccessKeyGetTheirFirstDigit)
{
    EXPECT_EQ(MenuText(L"RCL 7:  1.000000 00"), "RCL &7:  1.000000 00");
    EXPECT_EQ(MenuText(L"-3"), "-&3");
    EXPECT_EQ(MenuText(L"Cu&t\tCtrl+X"), "Cu&t\tCtrl+X") << "a named key stays";
    EXPECT_EQ(MenuText(L"Recent File"), "Recent File") << "no digit, no key";
}

TEST(CmdUI, UpdateHandlersRunWhenTheMenuIsAboutToShow)
{
    CommandTable table;
    QMenu menu;
    QMenu* submenu = menu.addMenu(QStringLiteral("sub"));
    QAction* text = menu.addAction(QStringLiteral("0"));
    QAction* nested = submenu->addAction(QStringLiteral("n"));
    QAction* plain = menu.addAction(QStringLiteral("plain"));
    SetCommandId(*text, 10);
    SetCommandId(*nested, 11);
    table.RegisterUpdate(10, [](CmdUI& item) {
        item.SetText(L"STO 0: x");
        item.SetCheck(1);
    });
    table.RegisterUpdate(11, [](CmdUI& item) { item.Enable(false); });
    ConnectUpdateHandlers(menu, table);
    EXPECT_EQ(text->text(), "0") << "nothing runs before the menu opens";
    QMetaObject::invokeMethod(&menu, "aboutToShow");
    EXPECT_EQ(text->text(), "STO &0: x") << "the text gets its digit as the access key";
    EXPECT_TRUE(text->isChecked());
    EXPECT_TRUE(nested->isEnabled());
    QMetaObject::invokeMethod(submenu, "aboutToShow");
    EXPECT_FALSE(nested->isEnabled());
    EXPECT_EQ(plain->text(), "plain");
}

QImage OnePixel(int red, int green, int blue)
{
    QImage image(1, 1, kFacePixelFormat);
    *reinterpret_cast<std::uint16_t*>(image.scanLine(0)) = static_cast<std::uint16_t>(red << 10 | green << 5 | blue);
    return image;
}

std::uint16_t Value(const QImage& image)
{
    return *reinterpret_cast<const std::uint16_t*>(image.constScanLine(0));
}

TEST(Brightness, MovesEachChannelByItsStepWithinRange)
{
    const struct {
        int brightness;
        int red, green, blue;
    } cases[] = {{4, 25, 31, 31}, {-4, 0, 5, 15}, {1, 13, 23, 31}, {-2, 3, 13, 23}, {3, 21, 31, 31}, {0, 10, 20, 30}};
    for (const auto& expected : cases) {
        QImage image = OnePixel(10, 20, 30);
        AdjustBrightness(image, expected.brightness);
        EXPECT_EQ(Value(image), Value(OnePixel(expected.red, expected.green, expected.blue))) << expected.brightness;
    }
    QImage white = OnePixel(31, 31, 31);
    AdjustBrightness(white, 4);
    EXPECT_EQ(Value(white), 0x7FFF) << "bit 15 stays clear";
}

TEST(Brightness, ValuesFromAnEditedStoreSaturateSafely)
{
    QImage image = OnePixel(10, 20, 30);
    AdjustBrightness(image, std::numeric_limits<int>::min());
    EXPECT_EQ(Value(image), 0);
    image = OnePixel(10, 20, 30);
    AdjustBrightness(image, 1000);
    EXPECT_EQ(Value(image), 0x7FFF);
}

TEST(VirtualKeys, QtKeysBecomeTheTableCodes)
{
    EXPECT_EQ(VirtualKeyFor(Qt::Key_7, Qt::NoModifier, 0), 55);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_7, Qt::KeypadModifier, 0), 103);
    EXPECT_EQ(KeyCodeForVirtualKey(VirtualKeyFor(Qt::Key_7, Qt::KeypadModifier, 0)),
              KeyCodeForVirtualKey(VirtualKeyFor(Qt::Key_7, Qt::NoModifier, 0)));
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Period, Qt::NoModifier, 0), 190);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Period, Qt::KeypadModifier, 0), 110);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Comma, Qt::KeypadModifier, 0), 110);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Plus, Qt::KeypadModifier, 0), 107);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Plus, Qt::NoModifier, 0), 0);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Minus, Qt::NoModifier, 0), 0);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Asterisk, Qt::KeypadModifier, 0), 106);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Slash, Qt::KeypadModifier, 0), 111);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Enter, Qt::KeypadModifier, 0), 13);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Return, Qt::NoModifier, 0), 13);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_E, Qt::ControlModifier, 0), 69);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Delete, Qt::KeypadModifier, 0), 46);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Escape, Qt::NoModifier, 0), 27);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Shift, Qt::ShiftModifier, 50), 0);
    // The digit row by its X keycodes: 10 is 1, 19 is 0.
    EXPECT_EQ(VirtualKeyFor(Qt::Key_Exclam, Qt::ShiftModifier, 10), 49);
    EXPECT_EQ(VirtualKeyFor(Qt::Key_ParenRight, Qt::ShiftModifier, 19), 48);
}

TEST(RecentFileList, ReadsWritesAndKeepsFourNewestFirst)
{
    FakeProfileStore store;
    store.WriteProfileString(kRecentFileSection, L"File1", L"/old");
    RecentFileList list(store);
    EXPECT_EQ(list.Paths(), std::vector<std::wstring>{L"/old"});
    for (const wchar_t* path : {L"/1", L"/2", L"/3", L"/4"})
        list.Add(path);
    list.Add(L"/2");
    EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{L"/2", L"/4", L"/3", L"/1"}));
    EXPECT_EQ(store.GetProfileString(kRecentFileSection, L"File1"), L"/2");
    EXPECT_EQ(store.GetProfileString(kRecentFileSection, L"File4"), L"/1");
    EXPECT_EQ(RecentFileList(store).Paths(), list.Paths());
}

}  // namespace
}  // namespace rpn::test
