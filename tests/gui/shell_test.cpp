#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/deferred_icon_style.h"
#include "app/icons.h"
#include "app/main_frame.h"
#include "face/command_ids.h"
#include "platform/qt/about_dialog.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/menu_actions.h"
#include "platform/qt/profile_store.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

TEST(Shell, TheWindowIsTheFaceUnderTheBarsWithItsCaption)
{
    TestWindow window;
    EXPECT_EQ(window.Frame().windowTitle(), QString::fromUtf8(kMainFrameCaption));
    EXPECT_EQ(window.View().size(), QSize(240, 268));
    EXPECT_TRUE(window.View().hasFocus());
}

TEST(Shell, TheWindowCarriesTheInstalledIconAndEveryButtonHasOne)
{
    TestWindow window;
    const QIcon icon = window.Frame().windowIcon();
    const QImage installed(QStringLiteral(RPN_SOURCE_DIR "/desktop/icons/32x32/rpn.png"));
    ASSERT_FALSE(installed.isNull());
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32),
              installed.convertToFormat(QImage::Format_ARGB32));
    for (QAction* action : window.Frame().CommandBar()->actions())
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull()) << action->text().toStdString();
}

TEST(Shell, TheCommandBarShowsItsOwnDrawnIconsWhenTheDesktopHasNoTheme)
{
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor"))
        GTEST_SKIP() << "the desktop's icon theme supplies the icons";
    TestWindow window;
    const std::pair<int, CommandIcon> buttons[] = {{command::EditCut, CommandIcon::Cut},
                                                   {command::EditCopy, CommandIcon::Copy},
                                                   {command::EditPaste, CommandIcon::Paste},
                                                   {command::AppAbout, CommandIcon::About}};
    for (const auto& [id, icon] : buttons) {
        // Each button shows its own command's drawing, pixel for pixel.
        const QImage drawn = DrawCommandIcon(icon);
        QAction* found = nullptr;
        for (QAction* action : window.Frame().CommandBar()->actions())
            if (CommandId(*action) == id)
                found = action;
        ASSERT_NE(found, nullptr) << id;
        EXPECT_EQ(
            found->icon().pixmap(QSize(kCommandIconSize, kCommandIconSize)).toImage().convertToFormat(drawn.format()),
            drawn)
            << id;
    }
}

TEST(Shell, AFirstStartShowsTheResetState)
{
    TestWindow window;
    EXPECT_EQ(window.State().DisplayText, L" 0000000 00");
    EXPECT_EQ(window.State().Brightness, 0);
    EXPECT_FALSE(window.State().bAudibleClicks);
    EXPECT_TRUE(window.Frame().FindAction(command::BrightnessZero)->isChecked());
}

TEST(Shell, SettingsAreWrittenWhenTheWindowClosesAndReadAtTheNextStart)
{
    QTemporaryDir directory;
    const QString ini = directory.filePath(QStringLiteral("RPN.ini"));
    {
        QtProfileStore store(ini);
        TestWindow window(&store);
        window.Key(Qt::Key_7);
        window.Key(Qt::Key_Return);
        window.Key(Qt::Key_3);
        window.Key(Qt::Key_Plus, Qt::KeypadModifier);
        window.Execute(command::BrightnessZero + 2);
        window.Execute(command::AudibleClicks);
        EXPECT_FALSE(QSettings(ini, QSettings::IniFormat).contains(QStringLiteral("KelRPN8/RegX")))
            << "nothing is written before the window closes";
        window.Execute(command::AppExit);
        EXPECT_TRUE(window.app->DocumentClosed());
    }
    QSettings written(ini, QSettings::IniFormat);
    EXPECT_EQ(written.value(QStringLiteral("KelRPN8/Brightness")).toInt(), 2);

    QtProfileStore store(ini);
    TestWindow window(&store);
    EXPECT_EQ(window.State().RegX, 10.0);
    EXPECT_EQ(window.State().Brightness, 2);
    EXPECT_TRUE(window.State().bAudibleClicks);
    EXPECT_TRUE(window.Frame().FindAction(command::BrightnessZero + 2)->isChecked());
    EXPECT_NE(window.View().FaceBitmap(), ResourcePictures().normal.convertToFormat(QImage::Format_RGB555));
}

TEST(Shell, ClosingTwiceWritesTheSettingsOnce)
{
    TestWindow window;
    window.Frame().close();
    const std::size_t written = window.fakeProfile.WriteLog().size();
    EXPECT_GT(written, 0u);
    window.app->CloseDocument();
    EXPECT_EQ(window.fakeProfile.WriteLog().size(), written);
}

TEST(Shell, NewBringsBackTheStateOfTheLastExit)
{
    TestWindow window;
    window.Key(Qt::Key_8);
    window.Key(Qt::Key_Return);
    window.app->Document().OnCloseDocument();
    window.Key(Qt::Key_1);
    window.Key(Qt::Key_Return);
    window.Execute(command::BrightnessZero - 1);
    window.Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window.State().RegX, 8.0);
    EXPECT_EQ(window.State().Brightness, 0);
    EXPECT_TRUE(window.Frame().FindAction(command::BrightnessZero)->isChecked());
}

TEST(Shell, CtrlSAsksOnceThenSavesToTheSameFileWithoutAsking)
{
    TestWindow window;
    window.Key(Qt::Key_4);
    window.dialogs.AnswerFileName(L"/states/a.rpn");
    window.Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(window.dialogs.Requests().size(), 1u);
    EXPECT_EQ(window.dialogs.Requests()[0].kind, FileDialogKind::Save);
    const auto first = window.files.Contents(L"/states/a.rpn");
    ASSERT_TRUE(first.has_value());
    EXPECT_GT(first->size(), 146u);

    window.Key(Qt::Key_Return);
    window.Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.dialogs.Requests().size(), 1u);
    const auto second = window.files.Contents(L"/states/a.rpn");
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->size(), first->size());
    EXPECT_NE(*second, *first);
}

TEST(Shell, CtrlSAfterLoadStateWritesTheLoadedFile)
{
    TestWindow window;
    window.Key(Qt::Key_6);
    window.dialogs.AnswerFileName(L"/states/b.rpn");
    window.Execute(command::SaveState);
    window.Execute(command::ResetState);
    window.dialogs.AnswerFileName(L"/states/b.rpn");
    window.Execute(command::LoadState);
    EXPECT_EQ(window.State().DisplayText.substr(0, 2), L" 6");
    window.Key(Qt::Key_Return);
    window.Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.dialogs.Requests().size(), 2u);
    EXPECT_EQ(window.app->Document().StateFilePath(), std::optional<std::wstring>(L"/states/b.rpn"));
}

TEST(Shell, CtrlSCancelledWritesNothing)
{
    TestWindow window;
    window.dialogs.AnswerCancel();
    window.Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.files.Creates(), 0);
}

TEST(Shell, AFileOnTheCommandLineIsOpenedAndListed)
{
    FakeFileSystem files;
    {
        TestWindow saver;
        saver.Key(Qt::Key_9);
        saver.Key(Qt::Key_Return);
        saver.Execute(command::BrightnessZero + 1);
        saver.dialogs.AnswerFileName(L"/states/c.rpn");
        saver.Execute(command::SaveState);
        files.Put(L"/states/c.rpn", *saver.files.Contents(L"/states/c.rpn"));
    }
    TestWindow window(nullptr, {QStringLiteral("rpn"), QStringLiteral("/states/c.rpn")},
                      [&files](TestWindow& w) { w.files.Put(L"/states/c.rpn", *files.Contents(L"/states/c.rpn")); });
    EXPECT_TRUE(window.dialogs.Messages().empty());
    EXPECT_EQ(window.State().RegX, 9.0);
    EXPECT_EQ(window.State().Brightness, 1);
    EXPECT_TRUE(window.Frame().FindAction(command::BrightnessZero + 1)->isChecked());

    window.Frame().UpdateRecentFileItems();
    QAction* first = nullptr;
    for (QAction* action : window.Frame().FileMenu()->actions())
        if (action->isVisible() && CommandId(*action) == command::RecentFileFirst)
            first = action;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), "&1 /states/c.rpn");
    EXPECT_EQ(window.fakeProfile.GetProfileString(L"Recent File List", L"File1"), L"/states/c.rpn");
}

TEST(Shell, AMissingFileOnTheCommandLineKeepsTheSavedState)
{
    FakeProfileStore store;
    {
        TestWindow first(&store);
        first.Key(Qt::Key_5);
        first.Key(Qt::Key_Return);
        first.Frame().close();
    }
    TestWindow window(&store, {QStringLiteral("rpn"), QStringLiteral("/no/such.rpn")});
    EXPECT_EQ(window.dialogs.Messages(), std::vector<std::wstring>{L"File Error"});
    EXPECT_EQ(window.State().RegX, 5.0);
}

TEST(Shell, RecentFilesKeepFourNewestFirst)
{
    TestWindow window;
    for (const wchar_t* path : {L"/a", L"/b", L"/c", L"/d", L"/e", L"/c"})
        window.app->RecentFiles().Add(path);
    EXPECT_EQ(window.app->RecentFiles().Paths(), (std::vector<std::wstring>{L"/c", L"/e", L"/d", L"/b"}));
    window.Frame().UpdateRecentFileItems();
    window.Frame().UpdateRecentFileItems();
    int shown = 0;
    for (QAction* action : window.Frame().FileMenu()->actions())
        if (action->isVisible() && CommandId(*action) >= command::RecentFileFirst &&
            CommandId(*action) < command::RecentFileFirst + 4)
            ++shown;
    EXPECT_EQ(shown, 4);
    for (QAction* action : window.Frame().FileMenu()->actions())
        if (action->text() == "Recent File") {
            EXPECT_FALSE(action->isVisible()) << "placeholder hidden";
        }
}

// Keyboard use goes on after a dialog: closing it gives the keys back to
// the face, not to a bar or the menu.
TEST(Shell, TheFaceHasTheFocusAgainAfterTheAboutBox)
{
    TestWindow window;
    ASSERT_TRUE(window.View().hasFocus());
    window.Execute(command::AppAbout);
    EXPECT_EQ(window.dialogs.AboutBoxes(), 1) << "About asks the dialogs like every other box";
    QtDialogs dialogs(&window.Frame());
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = true;
            dialog->reject();
        }
    });
    dialogs.ShowAbout();
    EXPECT_TRUE(shown);
    // The window manager gives the window back its activation; the face is
    // what the window's focus then goes to.
    EXPECT_EQ(window.Frame().focusWidget(), &window.View());
    window.Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.Frame()));
    EXPECT_TRUE(window.View().hasFocus());
    QTest::keyClick(&window.View(), Qt::Key_7);
    EXPECT_EQ(window.State().Integer, L"7");
}

TEST(Shell, TheAboutBoxShowsItsTexts)
{
    CAboutDlg dialog;
    dialog.SponsorAddress = QString::fromUtf8(kSponsorAddress);
    dialog.InitDialog();
    EXPECT_EQ(dialog.windowTitle(), "About Kel's RPN");
    EXPECT_EQ(dialog.AddressShown(), QString::fromUtf8(kSponsorAddress));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    EXPECT_TRUE(texts.contains("Kel's RPN Calculator Version 3.0 (Beta)"));
    EXPECT_TRUE(texts.contains("Visit the sponsor:"));
}

// The bars' extension arrow, read late, is the style's own arrow for either
// direction of text; every other icon is the style's as it stands.
TEST(DeferredIconStyle, GivesTheStylesOwnIcons)
{
    DeferredIconStyle style;
    const QStyle& base = *style.baseStyle();
    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
            QStyleOption option;
            option.direction = direction;
            const QIcon deferred = style.standardIcon(which, &option);
            ASSERT_FALSE(deferred.isNull());
            EXPECT_EQ(deferred.pixmap(16).toImage(), base.standardIcon(which, &option).pixmap(16).toImage())
                << which << " " << direction;
        }
    }
    EXPECT_EQ(style.standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage(),
              base.standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32).toImage());
}

}  // namespace
}  // namespace rpn::test
