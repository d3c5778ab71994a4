#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/session_end.h"
#include "app/window_placement.h"
#include "face/command_ids.h"
#include "platform/qt/about_dialog.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

// Runs request once the modal loops have started, from inside the innermost.
// The timer goes with the application.
void WhenModal(int depth, std::function<void()> request)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, depth, request] {
        int open = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            open += widget->isVisible() && widget->isModal() ? 1 : 0;
        if (open < depth)
            return;
        timer->stop();
        request();
    });
    timer->start();
}

TEST(Lifecycle, ACloseRequestClosesEachKindOfModalWindowAsCancelledAndSavesOnce)
{
    const struct {
        const char* name;
        std::function<int(QWidget&)> run;
        int expected;
    } cases[] = {
        {"About box",
         [](QWidget& parent) {
             CAboutDlg dialog(&parent);
             return dialog.exec();
         },
         QDialog::Rejected},
        {"message box",
         [](QWidget& parent) {
             QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Kel's RPN"), QStringLiteral("File Error"),
                             QMessageBox::Ok, &parent);
             return box.exec();
         },
         QMessageBox::Ok},
        {"file dialog",
         [](QWidget& parent) {
             QFileDialog dialog(&parent, QStringLiteral("Load State File"));
             dialog.setOption(QFileDialog::DontUseNativeDialog);
             return dialog.exec();
         },
         QDialog::Rejected},
    };
    for (const auto& each : cases) {
        TestWindow window;
        window.Key(Qt::Key_4);
        WhenModal(1, [&window] { window.app->RequestClose(); });
        EXPECT_EQ(each.run(window.Frame()), each.expected) << each.name;
        EXPECT_TRUE(window.app->DocumentClosed()) << each.name;
        EXPECT_FALSE(window.Frame().isVisible()) << each.name;
        EXPECT_EQ(window.fakeProfile.GetProfileString(L"KelRPN8", L"Integer"), L"4") << each.name;
        const std::size_t written = window.fakeProfile.WriteLog().size();
        window.app->RequestClose();
        window.Frame().close();
        EXPECT_EQ(window.fakeProfile.WriteLog().size(), written) << each.name << ": written once";
    }
}

TEST(Lifecycle, ACloseRequestClosesNestedBoxesInnermostFirst)
{
    TestWindow window;
    int inner = -1;
    QTimer::singleShot(0, [&window, &inner] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Replace it?"),
                        QMessageBox::Yes | QMessageBox::No, &window.Frame());
        WhenModal(2, [&window] { window.app->RequestClose(); });
        inner = box.exec();
    });
    QDialog outer(&window.Frame());
    EXPECT_EQ(outer.exec(), QDialog::Rejected);
    EXPECT_EQ(inner, QMessageBox::No) << "the box's own Cancel, not its default";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window.app->DocumentClosed());
}

TEST(Lifecycle, NothingIsOpenedOrShownOnceTheCloseHasBegun)
{
    TestWindow window;
    window.files.Put(L"/states/a.rpn", {});
    window.app->RequestClose();
    const std::size_t written = window.fakeProfile.WriteLog().size();
    window.app->OpenDocumentFile(L"/states/a.rpn");
    window.app->OnSecondStart({.path = "/states/a.rpn"});
    window.app->OnSecondStart({});
    EXPECT_TRUE(window.dialogs.Messages().empty());
    EXPECT_FALSE(window.Frame().isVisible());
    EXPECT_EQ(window.fakeProfile.WriteLog().size(), written);
}

TEST(Lifecycle, TheClosingHookRunsOnceBeforeTheSettingsAreWritten)
{
    TestWindow window;
    std::vector<std::size_t> writesSeen;
    window.app->SetClosingHook([&] { writesSeen.push_back(window.fakeProfile.WriteLog().size()); });
    const std::size_t before = window.fakeProfile.WriteLog().size();
    window.Execute(command::AppExit);
    window.app->RequestClose();
    EXPECT_EQ(writesSeen, std::vector<std::size_t>{before});
}

TEST(Lifecycle, ACloseBeforeTheWindowWasShownKeepsTheSavedWindowPlace)
{
    FakeProfileStore store;
    store.WriteProfileInt(kWindowPlacementSection, L"Left", 123);
    FakeClipboard clipboard;
    FakeDialogs dialogs;
    FakeFileSystem files;
    CountingClickSound click;
    CRPNApp app({store, clipboard, dialogs, files, click}, ResourcePictures());
    // As a signal at the start-up "File Error" box would: the close comes
    // before the window is placed and shown.
    app.RequestClose();
    app.InitInstance({QStringLiteral("rpn")});
    EXPECT_TRUE(app.DocumentClosed());
    EXPECT_FALSE(app.Frame().isVisible()) << "and the start-up goes no further";
    EXPECT_EQ(store.GetProfileInt(kWindowPlacementSection, L"Left", -1), 123);
}

TEST(Lifecycle, ALostDisplaySavesOnceTheStartHasLoadedAndLeavesTheWindowAlone)
{
    std::size_t writtenBeforeLoad = 1;
    TestWindow window(nullptr, {QStringLiteral("rpn")}, [&writtenBeforeLoad](TestWindow& w) {
        w.app->SaveOnLostDisplay();
        writtenBeforeLoad = w.fakeProfile.WriteLog().size();
    });
    EXPECT_EQ(writtenBeforeLoad, 0u) << "nothing loaded yet, so nothing to save";
    window.Key(Qt::Key_6);
    window.app->SaveOnLostDisplay();
    EXPECT_EQ(window.fakeProfile.GetProfileString(L"KelRPN8", L"Integer"), L"6");
    EXPECT_TRUE(window.Frame().isVisible());
    const std::size_t written = window.fakeProfile.WriteLog().size();
    window.app->SaveOnLostDisplay();
    window.Frame().close();
    EXPECT_EQ(window.fakeProfile.WriteLog().size(), written) << "written once";
}

TEST(Lifecycle, ASecondStartOpensItsFileAsOpenDoesOrJustRaisesTheWindow)
{
    TestWindow saver;
    saver.Key(Qt::Key_8);
    saver.Key(Qt::Key_Return);
    saver.dialogs.AnswerFileName(L"/states/b.rpn");
    saver.Execute(command::SaveState);

    TestWindow window;
    window.files.Put(L"/states/b.rpn", *saver.files.Contents(L"/states/b.rpn"));
    window.Frame().showMinimized();
    window.app->OnSecondStart({});
    EXPECT_EQ(window.State().RegX, 0.0);
    EXPECT_FALSE(window.Frame().isMinimized());

    window.app->OnSecondStart({.path = "/states/b.rpn"});
    EXPECT_EQ(window.State().RegX, 8.0);
    EXPECT_EQ(window.fakeProfile.GetProfileString(L"Recent File List", L"File1"), L"/states/b.rpn");
    EXPECT_TRUE(window.Frame().isVisible());

    window.app->OnSecondStart({.path = "/states/none.rpn"});
    EXPECT_EQ(window.dialogs.Messages(), std::vector<std::wstring>{L"File Error"});
}

TEST(Lifecycle, TheSessionsQuitRequestGoesToTheCloseAndNoFurther)
{
    int requests = 0;
    QuitRequestFilter filter(*QCoreApplication::instance(), [&requests] { ++requests; });
    QEvent quit(QEvent::Quit);
    EXPECT_TRUE(QCoreApplication::sendEvent(QCoreApplication::instance(), &quit));
    QEvent other(QEvent::LanguageChange);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &other);
    EXPECT_EQ(requests, 1);
}

}  // namespace
}  // namespace rpn::test
