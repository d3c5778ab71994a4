#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "persist/clipboard_commands.h"
#include "platform/qt/clipboard.h"
#include "tests/platform/qt_application.h"
#include "testsupport/fake_dialogs.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

class QtClipboardTest : public test::QtApplicationTest {};

TEST_F(QtClipboardTest, CarriesWideText)
{
    QtClipboard clipboard(*QGuiApplication::clipboard());
    ASSERT_TRUE(clipboard.Open());
    clipboard.PutText(L"1.234500e+03 \u00e9\U0001F600");
    EXPECT_TRUE(clipboard.HasText());
    EXPECT_EQ(clipboard.GetText(), u"1.234500e+03 \u00e9\U0001F600");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("1.234500e+03 \u00e9\U0001F600"));
    clipboard.Close();
}

TEST_F(QtClipboardTest, PictureIsNoText)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    QtClipboard clipboard(*QGuiApplication::clipboard());
    EXPECT_EQ(OnUpdateEditPaste(clipboard), false);

    test::FakeDialogs dialogs;
    const CalcState before = test::AfterKeys("3");
    CalcState state = before;
    EXPECT_FALSE(OnEditPaste(state, clipboard, dialogs));
    EXPECT_TRUE(test::SameBits(state, before));
    EXPECT_EQ(dialogs.Messages().size(), 1u);
}

TEST_F(QtClipboardTest, CopyAndPasteGoThroughTheSystemClipboard)
{
    QtClipboard clipboard(*QGuiApplication::clipboard());
    OnEditCopy(test::AfterKeys("2 ENTER 3 /"), clipboard);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("6.666667e-01"));

    QGuiApplication::clipboard()->setText(QStringLiteral("  -12.5 mm"));
    EXPECT_EQ(OnUpdateEditPaste(clipboard), true);
    test::FakeDialogs dialogs;
    CalcState state = MakeResetState();
    EXPECT_TRUE(OnEditPaste(state, clipboard, dialogs));
    EXPECT_EQ(state.RegX, -12.5);
}

}  // namespace
}  // namespace rpn
