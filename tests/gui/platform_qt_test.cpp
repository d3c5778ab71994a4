#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <limits>
#include <stdexcept>

#include "face/brightness.h"
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
