#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "app/window_placement.h"
#include "face/command_ids.h"
#include "platform/qt/about_dialog.h"
#include "platform/qt/profile_store.h"
#include "tests/gui/test_window.h"

namespace rpn::test {
namespace {

// The darkest pixel of a rectangle of the back buffer, as its largest channel.
int Darkest(const QImage& image, const QRect& area)
{
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            darkest = std::min(darkest, std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}));
        }
    return darkest;
}

// Thin strokes of a light weight never reach the text colour; the regular
// weight's do, nearly, at the normal brightness.
TEST(Legibility, TheStackLinesAndTheIndicatorsAreDrawnDarkEnoughToRead)
{
    TestWindow window;
    ASSERT_EQ(window.State().Brightness, 0);
    window.Key(Qt::Key_F);
    ASSERT_TRUE(window.State().FunctionMode);
    const QImage buffer = window.Paint();
    EXPECT_LE(Darkest(buffer, QRect(92, 37, 100, 11)), 150) << "the grey Y line";
    EXPECT_LE(Darkest(buffer, QRect(24, 52, 12, 14)), 60) << "the black f";
}

// Every text of the About box is shown whole and the box is filled, in the
// font and at the scale it is shown with; the suite runs once more with
// QT_SCALE_FACTOR=2.
TEST(AboutBox, EveryTextIsWholeAndTheBoxIsFilled)
{
    CAboutDlg dialog;
    dialog.SponsorAddress = QString::fromUtf8(kSponsorAddress);
    dialog.InitDialog();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QRect inside = dialog.rect();
    int labels = 0;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        ++labels;
        const std::string text = label->text().toStdString();
        EXPECT_TRUE(inside.contains(label->geometry())) << text;
        if (label->wordWrap())
            EXPECT_GE(label->contentsRect().height(), label->heightForWidth(label->width())) << text;
        else
            EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text())) << text;
    }
    EXPECT_EQ(labels, 3) << "version, notice, sponsor";
    const auto* address = dialog.findChild<QLineEdit*>(QStringLiteral("SponsorAddress"));
    ASSERT_NE(address, nullptr);
    EXPECT_TRUE(inside.contains(address->geometry()));
    EXPECT_GE(address->width(), address->fontMetrics().horizontalAdvance(address->text()));
    // What the box holds spans it, apart from its margins.
    const QRect used = dialog.childrenRect();
    EXPECT_GE(used.width(), dialog.width() * 3 / 4);
    EXPECT_GE(used.height(), dialog.height() * 3 / 4);
}

TEST(WindowPlacement, AWindowIsKeptOnItsScreen)
{
    const QRect screen(0, 0, 1280, 1000);
    const QRect second(1280, 0, 800, 600);
    const QSize minimum(240, 320);
    const struct {
        QRect wanted;
        QRect available;
        QRect placed;
    } cases[] = {
        {{100, 50, 300, 400}, screen, {100, 50, 300, 400}},
        {{1200, 900, 300, 400}, screen, {980, 600, 300, 400}},
        {{-50, -20, 300, 400}, screen, {0, 0, 300, 400}},
        {{10, 10, 5000, 3000}, screen, {0, 0, 1280, 1000}},
        {{10, 10, 100, 100}, screen, {10, 10, 240, 320}},
        {{1300, 20, 300, 400}, second, {1300, 20, 300, 400}},
        {{0, 20, 300, 400}, second, {1280, 20, 300, 400}},
        {{1300, 20, 300, 400}, QRect(0, 0, 200, 300), {0, 0, 200, 300}},
    };
    for (const auto& [wanted, available, placed] : cases)
        EXPECT_EQ(PlaceOnScreen(wanted, available, minimum), placed) << wanted.x() << "," << wanted.y();
}

TEST(WindowPlacement, SizeAndPlaceComeBackInTheirOwnSection)
{
    QTemporaryDir directory;
    const QString ini = directory.filePath(QStringLiteral("RPN.ini"));
    const QRect wanted(30, 40, 420, 560);
    {
        QtProfileStore store(ini);
        TestWindow window(&store);
        window.Frame().resize(wanted.size());
        window.Frame().move(wanted.topLeft());
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.Frame().size() == wanted.size(); }));
        window.Execute(command::AppExit);
    }
    QSettings written(ini, QSettings::IniFormat);
    written.beginGroup(QStringLiteral("Window Placement"));
    EXPECT_EQ(written.value(QStringLiteral("Width")).toInt(), wanted.width());
    EXPECT_EQ(written.value(QStringLiteral("Height")).toInt(), wanted.height());
    EXPECT_EQ(written.value(QStringLiteral("Left")).toInt(), wanted.x());
    EXPECT_EQ(written.value(QStringLiteral("Top")).toInt(), wanted.y());
    written.endGroup();
    for (const char* key : {"Left", "Top", "Width", "Height"})
        EXPECT_FALSE(written.contains(QStringLiteral("KelRPN8/") + QLatin1String(key))) << key;

    QtProfileStore store(ini);
    TestWindow window(&store);
    EXPECT_EQ(window.Frame().size(), wanted.size());
    EXPECT_EQ(window.Frame().pos(), wanted.topLeft());
}

TEST(WindowPlacement, AMaximisedWindowComesBackMaximisedWithItsNormalSize)
{
    TestWindow first;
    first.Frame().resize(300, 420);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.Frame().size() == QSize(300, 420); }));
    first.Frame().showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.Frame().isMaximized(); }));
    first.Execute(command::AppExit);
    EXPECT_EQ(first.fakeProfile.GetProfileInt(kWindowPlacementSection, L"Maximized", 0), 1);
    EXPECT_EQ(first.fakeProfile.GetProfileInt(kWindowPlacementSection, L"Width", 0), 300);
    EXPECT_EQ(first.fakeProfile.GetProfileInt(kWindowPlacementSection, L"Height", 0), 420);

    TestWindow second(nullptr, {QStringLiteral("rpn")}, [&first](TestWindow& prepared) {
        for (const wchar_t* entry : {L"Left", L"Top", L"Width", L"Height", L"Maximized"})
            prepared.fakeProfile.WriteProfileInt(kWindowPlacementSection, entry,
                                                 first.fakeProfile.GetProfileInt(kWindowPlacementSection, entry, 0));
    });
    EXPECT_TRUE(second.Frame().isMaximized());
    second.Frame().showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.Frame().size() == QSize(300, 420); }));
}

TEST(WindowPlacement, AStoredPlaceOffEveryScreenIsBroughtBackOntoOne)
{
    TestWindow window(nullptr, {QStringLiteral("rpn")}, [](TestWindow& prepared) {
        for (const auto& [entry, value] :
             {std::pair{L"Left", 50000}, {L"Top", -7000}, {L"Width", 90000}, {L"Height", 3}})
            prepared.fakeProfile.WriteProfileInt(kWindowPlacementSection, entry, value);
    });
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(QTest::qWaitFor([&] { return available.contains(window.Frame().frameGeometry()); }))
        << window.Frame().frameGeometry().x() << "," << window.Frame().frameGeometry().y() << " "
        << window.Frame().frameGeometry().width() << "x" << window.Frame().frameGeometry().height() << " in "
        << available.width() << "x" << available.height();
    EXPECT_GE(window.View().height(), 268) << "never smaller than the face";
}

}  // namespace
}  // namespace rpn::test
