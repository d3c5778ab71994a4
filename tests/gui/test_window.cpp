#include "tests/gui/test_window.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include "face/brightness.h"

namespace rpn::test {

TestWindow::TestWindow(ProfileStore* profile, QStringList arguments, const std::function<void(TestWindow&)>& prepare)
{
    app = std::make_unique<CRPNApp>(AppServices{profile ? *profile : fakeProfile, clipboard, dialogs, files, click},
                                    ResourcePictures());
    if (prepare)
        prepare(*this);
    app->InitInstance(arguments);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&app->Frame()));
}

void TestWindow::Down(QPoint face)
{
    QTest::mousePress(&View(), Qt::LeftButton, Qt::NoModifier, View().WidgetPoint(face));
}

void TestWindow::Up(QPoint face)
{
    QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, View().WidgetPoint(face));
}

void TestWindow::Tap(QPoint face)
{
    Down(face);
    Up(face);
}

void TestWindow::DoubleTapKey(int code)
{
    // What a double tap delivers: down, up, then the double-click in place of
    // the second down, then up.
    const QPoint point = View().WidgetPoint(KeyCentre(code));
    QTest::mouseClick(&View(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(&View(), Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(&View(), Qt::LeftButton, Qt::NoModifier, point);
}

void TestWindow::Key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(&View(), key, modifiers);
}

QImage TestWindow::Paint()
{
    View().repaint();
    return Shown();
}

QImage TestWindow::Shown()
{
    // The offscreen platform hands out what the window's backing store holds.
    const QPoint at = View().mapTo(&Frame(), QPoint(0, 0));
    return Frame()
        .screen()
        ->grabWindow(Frame().winId(), at.x(), at.y(), View().width(), View().height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QPoint TestWindow::KeyCentre(int code)
{
    const KeyRectangle r = KeyRect(code);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

QImage AsShown(const QImage& picture)
{
    return picture.convertToFormat(kFacePixelFormat).convertToFormat(QImage::Format_RGB32);
}

FacePictures ResourcePictures()
{
    return LoadFacePictures();
}

}  // namespace rpn::test
