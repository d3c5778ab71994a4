#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <vector>

#include "persist/state_file.h"
#include "platform/qt/dialogs.h"
#include "tests/platform/qt_application.h"
#include "testsupport/fake_profile_store.h"

namespace rpn {
namespace {

class QtDialogsTest : public test::QtApplicationTest {};

TEST(QtDialogFilters, BarFilterBecomesAQtNameFilter)
{
    EXPECT_EQ(QtNameFilter(kStateFileFilter), QStringLiteral("KelRPN settings (*.rpn)"));
    EXPECT_EQ(QtNameFilter(L"Text|*.txt"), QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(QtNameFilter(L"All (*)"), QStringLiteral("All (*)"));
    // Brackets in the description give way to the real pattern: shown once,
    // and the one Qt filters by.
    EXPECT_EQ(QtNameFilter(L"All Files (*.*)|*"), QStringLiteral("All Files (*)"));
    EXPECT_EQ(QtNameFilter(L"Pictures|*.png;*.jpg"), QStringLiteral("Pictures (*.png *.jpg)"));
    EXPECT_EQ(QtDefaultSuffix(kStateFileExtension), QStringLiteral("rpn"));
    EXPECT_EQ(QtDefaultSuffix(L"txt"), QStringLiteral("txt"));
}

TEST_F(QtDialogsTest, SaveDialogShowsTheRequestAndAddsTheExtension)
{
    QTemporaryDir directory;
    const QString typed = directory.filePath(QStringLiteral("mine"));
    WhenModal([&](QWidget& window) {
        auto* dialog = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Save State File"));
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("KelRPN settings (*.rpn)")});
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        dialog->selectFile(typed);
        static_cast<QDialog*>(dialog)->accept();
    });
    QtDialogs dialogs;
    const FileDialogRequest request{FileDialogKind::Save, kSaveStateTitle, kStateFileFilter, kStateFileExtension, true};
    EXPECT_EQ(dialogs.AskFileName(request), (typed + QStringLiteral(".rpn")).toStdWString());
}

TEST_F(QtDialogsTest, OpenDialogTakesANameThatDoesNotExistAndCancelGivesNothing)
{
    QTemporaryDir directory;
    const QString typed = directory.filePath(QStringLiteral("absent.rpn"));
    WhenModal([&](QWidget& window) {
        auto* dialog = qobject_cast<QFileDialog*>(&window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Load State File"));
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->selectFile(typed);
        static_cast<QDialog*>(dialog)->accept();
    });
    QtDialogs dialogs;
    const FileDialogRequest request{FileDialogKind::Open, kLoadStateTitle, kStateFileFilter, kStateFileExtension,
                                    false};
    EXPECT_EQ(dialogs.AskFileName(request), typed.toStdWString());

    WhenModal([](QWidget& window) { qobject_cast<QDialog*>(&window)->reject(); });
    EXPECT_EQ(dialogs.AskFileName(request), std::nullopt);
}

// Both kinds of file dialog open where the last state file was, as long as
// that folder is there; after one whose folder has gone, where Qt opens
// them without being told.
TEST_F(QtDialogsTest, FileDialogsOpenInTheFolderOfTheLastStateFile)
{
    QTemporaryDir directory;
    const QString gone = directory.filePath(QStringLiteral("gone"));
    test::FakeProfileStore store;
    RecentFileList recentFiles(store);
    QtDialogs dialogs;
    dialogs.OpenInFolderOf(recentFiles);
    const struct {
        const char* what;
        QString lastFile;
        QString folder;
    } cases[] = {
        {"a state file", directory.filePath(QStringLiteral("mine.rpn")), directory.path()},
        {"its folder since removed", gone + QStringLiteral("/old.rpn"), {}},
    };
    for (const auto& each : cases) {
        recentFiles.Add(each.lastFile.toStdWString());
        for (const FileDialogKind kind : {FileDialogKind::Save, FileDialogKind::Open}) {
            QString opened;
            WhenModal([&opened](QWidget& window) {
                opened = qobject_cast<QFileDialog*>(&window)->directory().absolutePath();
                qobject_cast<QDialog*>(&window)->reject();
            });
            dialogs.AskFileName({kind, kLoadStateTitle, kStateFileFilter, kStateFileExtension, false});
            if (each.folder.isEmpty())
                EXPECT_TRUE(opened != gone && QDir(opened).exists()) << each.what << ": " << opened.toStdString();
            else
                EXPECT_EQ(opened, QDir(each.folder).absolutePath()) << each.what;
        }
    }
}

TEST_F(QtDialogsTest, MessageBoxShowsTheTextWithOneOkButton)
{
    QString shown;
    qsizetype buttons = 0;
    WhenModal([&](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        buttons = box->buttons().size();
        box->button(QMessageBox::Ok)->click();
    });
    QtDialogs dialogs;
    dialogs.ShowMessage(kFileError);
    EXPECT_EQ(shown, QStringLiteral("File Error"));
    EXPECT_EQ(buttons, 1);
}

// Every modal window opens over the calculator, not wherever the desktop
// puts an ownerless one, and a parent set after construction counts.
TEST_F(QtDialogsTest, BoxesAndFileDialogsBelongToTheParentWindow)
{
    QWidget window;
    window.show();
    QtDialogs dialogs;
    dialogs.SetParent(&window);
    std::vector<QWidget*> parents;
    const auto closeNoting = [&parents](QWidget& modal) {
        parents.push_back(modal.parentWidget());
        EXPECT_TRUE(modal.isModal());
        qobject_cast<QDialog*>(&modal)->reject();
    };
    WhenModal(closeNoting);
    dialogs.ShowMessage(kFileError);
    WhenModal(closeNoting);
    dialogs.AskFileName({FileDialogKind::Open, kLoadStateTitle, kStateFileFilter, kStateFileExtension, false});
    EXPECT_EQ(parents, (std::vector<QWidget*>{&window, &window}));
}

}  // namespace
}  // namespace rpn
