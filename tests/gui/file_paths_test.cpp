#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <iostream>

#include "face/command_ids.h"
#include "persist/settings.h"
#include "persist/state_file.h"
#include "platform/qt/menu_actions.h"
#include "platform/qt/profile_store.h"
#include "tests/gui/test_window.h"
#include "testsupport/keystrokes.h"

namespace rpn::test {
namespace {

// The File menu's entry for a recent file, as the user picks it: the menu
// is opened (which builds the entries) and the item triggered.
QAction& RecentFileItem(TestWindow& window, int index)
{
    QMenu& file = *window.Frame().FileMenu();
    emit file.aboutToShow();
    const auto actions = file.actions();
    const auto found = std::find_if(actions.begin(), actions.end(), [index](QAction* action) {
        return CommandId(*action) == command::RecentFileFirst + index && action->isVisible();
    });
    EXPECT_NE(found, actions.end()) << index;
    return **found;
}

std::vector<std::wstring> StoredRecentFiles(FakeProfileStore& store)
{
    std::vector<std::wstring> paths;
    for (int index = 1; index <= command::kRecentFileCount; ++index)
        if (std::wstring path = store.GetProfileString(L"Recent File List", L"File" + std::to_wstring(index));
            !path.empty())
            paths.push_back(path);
    return paths;
}

TEST(RecentFiles, OpeningAnEntryLoadsItAndKeepsTheListIntact)
{
    TestWindow window;
    CalcState a = AfterKeys("1 1 ENTER");
    CalcState b = AfterKeys("2 2 ENTER");
    ASSERT_TRUE(WriteStateFile(a, L"/states/a.rpn", window.files, window.dialogs));
    ASSERT_TRUE(WriteStateFile(b, L"/states/b.rpn", window.files, window.dialogs));

    // One entry: opening it leaves it as it was.
    window.app->RecentFiles().Add(L"/states/a.rpn");
    RecentFileItem(window, 0).trigger();
    EXPECT_EQ(window.State().RegY, 11.0);
    EXPECT_EQ(window.app->RecentFiles().Paths(), std::vector<std::wstring>{L"/states/a.rpn"});
    EXPECT_EQ(StoredRecentFiles(window.fakeProfile), std::vector<std::wstring>{L"/states/a.rpn"});

    // Two entries: the older one opened moves to the top, the other follows.
    window.app->RecentFiles().Add(L"/states/b.rpn");
    RecentFileItem(window, 1).trigger();
    EXPECT_EQ(window.State().RegY, 11.0);
    const std::vector<std::wstring> expected{L"/states/a.rpn", L"/states/b.rpn"};
    EXPECT_EQ(window.app->RecentFiles().Paths(), expected);
    EXPECT_EQ(StoredRecentFiles(window.fakeProfile), expected);
    RecentFileItem(window, 1).trigger();
    EXPECT_EQ(window.State().RegY, 22.0);
    EXPECT_EQ(window.app->RecentFiles().Paths(), (std::vector<std::wstring>{L"/states/b.rpn", L"/states/a.rpn"}));
    EXPECT_TRUE(window.dialogs.Messages().empty());
}

// Milliseconds of a key and the repaint it causes, the median of a few.
double KeyMilliseconds(TestWindow& window)
{
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        const auto started = std::chrono::steady_clock::now();
        window.Key(Qt::Key_5);
        window.Paint();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A hand-edited settings file with texts as long as the settings file's
// limit allows, 200,000 characters each: a key and its repaint cost what
// they cost with the usual texts, and the texts stay within the display
// window.
TEST(HugeTexts, FromTheSettingsFileCostAKeyNoMoreThanUsualTexts)
{
    QTemporaryDir directory;
    const QString ini = directory.filePath(QStringLiteral("RPN.ini"));
    double usual = 0;
    QImage usualFace;
    {
        QtProfileStore store(ini);
        TestWindow window(&store);
        window.Key(Qt::Key_5);
        usual = KeyMilliseconds(window);
        usualFace = window.Paint();
    }
    {
        CalcState state = MakeResetState();
        state.AngleMode = std::wstring(200'000, L'D');
        state.SuperMode = std::wstring(200'000, L'H');
        state.DisplayMode = std::wstring(200'000, L'S');
        // An entry in progress whose digits run on: the display refresh
        // after every key builds the main line from them.
        state.EntryMode = true;
        state.Integer = std::wstring(200'000, L'1');
        QtProfileStore store(ini);
        SaveSettings(state, store);
        ASSERT_TRUE(store.Flush());
    }
    QtProfileStore store(ini);
    TestWindow window(&store);
    ASSERT_EQ(window.State().AngleMode.size(), 200'000u);
    ASSERT_EQ(window.State().Integer.size(), 200'000u);
    window.Key(Qt::Key_5);
    const double huge = KeyMilliseconds(window);
    std::cout << "key and repaint: " << usual << " ms with the usual texts, " << huge
              << " ms with three 200,000-character mode texts and a 200,000-digit entry\n";
    EXPECT_LT(huge, 3 * usual + 20);
    // Right of the display window (x 223 on) the face is as it always is.
    const QImage face = window.Paint();
    for (int y = 0; y < 72; ++y)
        for (int x = 223; x < 240; ++x)
            ASSERT_EQ(face.pixel(x, y), usualFace.pixel(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace rpn::test
