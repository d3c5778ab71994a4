#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <cstdlib>
#include <memory>

#include "tools/face_drawing.h"

namespace rpn {
namespace {

// The legends need a font database, hence an application object, created
// once for the whole run and gone before main returns.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_application = std::make_unique<QGuiApplication>(m_argumentCount, m_arguments.data()); }
    void TearDown() override { m_application.reset(); }

private:
    std::array<char, 12> m_name{"tools_tests"};
    std::array<char, 10> m_platformOption{"-platform"};
    std::array<char, 10> m_platform{"offscreen"};
    std::array<char*, 3> m_arguments{m_name.data(), m_platformOption.data(), m_platform.data()};
    int m_argumentCount = 3;
    std::unique_ptr<QGuiApplication> m_application;
};

const ::testing::Environment* const kGuiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

constexpr const char* kPictureFiles[] = {"face_normal.png", "face_pressed.png", "face_normal@2x.png",
                                         "face_pressed@2x.png"};

QImage LoadPicture(const QString& directory, const QString& fileName)
{
    return QImage(QDir(directory).filePath(fileName)).convertToFormat(QImage::Format_RGB32);
}

QImage LoadCommitted(const char* fileName)
{
    return LoadPicture(QStringLiteral(RPN_RESOURCE_DIRECTORY), QString::fromLatin1(fileName));
}

bool InsideAnyKey(int x, int y)
{
    for (int code = 1; code <= kKeyCount; ++code)
        if (KeyRect(code).Contains(x, y))
            return true;
    return false;
}

// The colours the window is built around, stated here independently of the
// drawing code's own constants.
QRgb ExpectedKeyColour(KeyColour colour, bool pressed)
{
    switch (colour) {
        case KeyColour::Blue:
            return pressed ? qRgb(132, 132, 255) : qRgb(45, 45, 255);
        case KeyColour::Yellow:
            return pressed ? qRgb(255, 255, 130) : qRgb(241, 241, 44);
        case KeyColour::Grey:
            return pressed ? qRgb(212, 212, 209) : qRgb(90, 90, 88);
        case KeyColour::None:
            break;
    }
    return 0;
}

std::string Describe(QRgb colour)
{
    return "(" + std::to_string(qRed(colour)) + ", " + std::to_string(qGreen(colour)) + ", " +
           std::to_string(qBlue(colour)) + ")";
}

// PNG bytes depend on the zlib build, so the pictures are compared decoded;
// the drawing itself is exact, so no tolerance.
TEST(FacePictures, CommittedPicturesAreWhatTheGeneratorDraws)
{
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    ASSERT_NO_THROW(WriteFacePictures(directory.path()));
    for (const char* fileName : kPictureFiles) {
        SCOPED_TRACE(fileName);
        const QImage committed = LoadCommitted(fileName);
        const QImage regenerated = LoadPicture(directory.path(), QString::fromLatin1(fileName));
        ASSERT_FALSE(committed.isNull());
        ASSERT_EQ(committed.size(), regenerated.size());
        int differing = 0;
        for (int y = 0; y < committed.height(); ++y)
            for (int x = 0; x < committed.width(); ++x)
                differing += committed.pixel(x, y) != regenerated.pixel(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "pixels differ; run the regenerate-assets target";
    }
}

TEST(FacePictures, SizesAreTheFaceAndItsDoubleDensityVersion)
{
    EXPECT_EQ(LoadCommitted("face_normal.png").size(), QSize(kFaceWidth, kFaceHeight));
    EXPECT_EQ(LoadCommitted("face_pressed.png").size(), QSize(kFaceWidth, kFaceHeight));
    EXPECT_EQ(LoadCommitted("face_normal@2x.png").size(), QSize(2 * kFaceWidth, 2 * kFaceHeight));
    EXPECT_EQ(LoadCommitted("face_pressed@2x.png").size(), QSize(2 * kFaceWidth, 2 * kFaceHeight));
}

TEST(FacePictures, EveryLegendHasItsGlyphs)
{
    EXPECT_TRUE(LegendsMissingGlyphs().isEmpty()) << LegendsMissingGlyphs().join(QStringLiteral(", ")).toStdString();
}

// The display text is drawn with an opaque background read at (19, 13), so
// the whole text area has to be that one colour.
TEST(FacePictures, DisplayAreaIsFlatInsideAWhiteFrame)
{
    const QRgb display = qRgb(180, 241, 235);
    for (const char* fileName : {"face_normal.png", "face_pressed.png"}) {
        SCOPED_TRACE(fileName);
        const QImage picture = LoadCommitted(fileName);
        EXPECT_EQ(picture.pixel(19, 13), display);
        int offColour = 0;
        for (int y = 11; y <= 68; ++y) {
            for (int x = 17; x <= 223; ++x) {
                const int cornerX = std::min(x - 17, 223 - x);
                const int cornerY = std::min(y - 11, 68 - y);
                if (cornerX + cornerY < 2)
                    continue;
                offColour += picture.pixel(x, y) != display ? 1 : 0;
            }
        }
        EXPECT_EQ(offColour, 0);
        for (const QPoint frame : {QPoint(12, 40), QPoint(228, 40), QPoint(120, 8), QPoint(120, 72)})
            EXPECT_EQ(picture.pixel(frame), qRgb(255, 255, 255)) << frame.x() << ", " << frame.y();
    }
}

TEST(FacePictures, PicturesDifferOnlyInsideTheKeys)
{
    const QImage normal = LoadCommitted("face_normal.png");
    const QImage pressed = LoadCommitted("face_pressed.png");
    int differing = 0;
    for (int y = 0; y < kFaceHeight; ++y)
        for (int x = 0; x < kFaceWidth; ++x)
            if (!InsideAnyKey(x, y))
                differing += normal.pixel(x, y) != pressed.pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
}

TEST(FacePictures, KeyCentresShowTheKeyColour)
{
    struct Picture {
        const char* fileName;
        bool pressed;
        int scale;
    };
    for (const Picture picture : {Picture{"face_normal.png", false, 1}, Picture{"face_pressed.png", true, 1},
                                  Picture{"face_normal@2x.png", false, 2}, Picture{"face_pressed@2x.png", true, 2}}) {
        SCOPED_TRACE(picture.fileName);
        const QImage image = LoadCommitted(picture.fileName);
        for (const KeyInfo& key : kKeyTable) {
            if (key.colour == KeyColour::None)
                continue;
            const KeyRectangle rectangle = KeyRect(key.code);
            const int x = (rectangle.left + rectangle.right) / 2 * picture.scale;
            const int y = (rectangle.top + rectangle.bottom) / 2 * picture.scale;
            EXPECT_EQ(Describe(image.pixel(x, y)), Describe(ExpectedKeyColour(key.colour, picture.pressed)))
                << "key " << key.code;
        }
    }
}

TEST(FacePictures, GapsAroundTheKeysAreDarkGreyBezel)
{
    const QRgb bezel = LoadCommitted("face_normal.png").pixel(41, 100);
    EXPECT_LT(std::abs(qRed(bezel) - qBlue(bezel)), 8);
    EXPECT_LT(std::abs(qRed(bezel) - qGreen(bezel)), 8);
    EXPECT_LT(qGray(bezel), 70);
    for (const char* fileName : {"face_normal.png", "face_pressed.png"}) {
        SCOPED_TRACE(fileName);
        const QImage picture = LoadCommitted(fileName);
        int notBezel = 0;
        // Below the display window's seat and inside the one-pixel rim.
        for (int y = 76; y < kFaceHeight - 1; ++y)
            for (int x = 1; x < kFaceWidth - 1; ++x)
                if (!InsideAnyKey(x, y))
                    notBezel += picture.pixel(x, y) != bezel ? 1 : 0;
        EXPECT_EQ(notBezel, 0);
    }
}

// Counts pixels in rows [firstRow, lastRow] of a key (from its top) that
// satisfy the predicate, leaving out the bevel at the sides.
template <typename Predicate>
int CountInKeyRows(const QImage& picture, const KeyRectangle& key, int firstRow, int lastRow, Predicate predicate)
{
    int count = 0;
    for (int y = key.top + firstRow; y <= key.top + lastRow; ++y)
        for (int x = key.left + 2; x < key.right - 2; ++x)
            count += predicate(picture.pixel(x, y)) ? 1 : 0;
    return count;
}

TEST(FacePictures, EveryKeyCarriesItsLegends)
{
    const auto isYellow = [](QRgb colour) { return qRed(colour) > 180 && qGreen(colour) > 150 && qBlue(colour) < 140; };
    for (const char* fileName : {"face_normal.png", "face_pressed.png"}) {
        SCOPED_TRACE(fileName);
        const QImage picture = LoadCommitted(fileName);
        const bool pressed = QString::fromLatin1(fileName).contains(QStringLiteral("pressed"));
        for (const KeyInfo& key : kKeyTable) {
            if (key.colour == KeyColour::None)
                continue;
            const QRgb face = ExpectedKeyColour(key.colour, pressed);
            const auto standsOut = [face](QRgb colour) { return std::abs(qGray(colour) - qGray(face)) > 60; };
            const KeyRectangle rectangle = KeyRect(key.code);
            const bool enter = key.code == kKeyEnter;
            EXPECT_GT(CountInKeyRows(picture, rectangle, enter ? 34 : 17, enter ? 48 : 30, standsOut), 8)
                << "primary legend of key " << key.code;
            if (key.shifted.empty())
                continue;
            EXPECT_GT(CountInKeyRows(picture, rectangle, 2, 13, standsOut), 5) << "shifted legend of key " << key.code;
            if (!pressed) {
                EXPECT_GT(CountInKeyRows(picture, rectangle, 2, 13, isYellow), 5)
                    << "yellow legend on key " << key.code;
            }
        }
    }
}

}  // namespace
}  // namespace rpn
